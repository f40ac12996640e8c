#include "SummaryRebuild.h"

#include "SummaryStore.h"
#include "platform/DataDirectory.h"
#include "store/MoveFileAside.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {
constexpr const char* NEW_SUFFIX = ".new";

void SetProblem(std::string* problem, const std::string& text) {
    if (problem != nullptr) {
        *problem = text;
    }
}

std::int64_t TotalBytes(const std::string& directory, const std::vector<std::string>& files) {
    std::int64_t total = 0;
    for (const std::string& file : files) {
        std::error_code error;
        const auto size = std::filesystem::file_size(directory + "/" + file, error);
        total += error ? 0 : static_cast<std::int64_t>(size);
    }
    return total;
}

void RemoveFile(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

// A summary's log goes with it; its shared-memory index is rebuilt by whoever
// opens the file next.
bool MoveSummaryAside(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::exists(path + "-wal", ignored)) {
        MoveFileAside(path + "-wal");
    }
    RemoveFile(path + "-shm");
    return MoveFileAside(path);
}

bool ReadAll(SummaryStore& store, const RebuildProgress& progress, RebuildReport& report,
             std::string* problem) {
    const std::string directory = HistLogDirectory();
    const std::vector<std::string> files = SummaryUpdater::HistoryFiles(directory);
    const std::int64_t total = TotalBytes(directory, files);
    SummaryUpdater updater(store, directory);
    const auto step = [&](std::int64_t done) {
        return !progress || progress(done, std::max(total, done));
    };
    for (const std::string& file : files) {
        if (!updater.Update(file, report.counts, step)) {
            SetProblem(problem, updater.Error());
            return false;
        }
        ++report.files;
    }
    return step(report.counts.bytes);
}
} // namespace

std::string RebuildNote(const RebuildReport& report) {
    std::string note;
    if (!report.movedAside.empty()) {
        note = SummaryPath() + " was moved aside (" + report.movedAside + ") and built anew";
    }
    for (const std::string& unreadable : report.counts.unreadable) {
        note += (note.empty() ? "" : "; ") + unreadable;
    }
    return note;
}

bool RebuildSummary(const RebuildProgress& progress, RebuildReport& report, std::string* problem) {
    const std::string path = SummaryPath();
    const std::string building = path + NEW_SUFFIX;
    RemoveFile(building);
    SummaryStore store;
    if (!store.Create(building, true)) {
        SetProblem(problem, "cannot create " + building + ": " + store.Error());
        store.Close();
        RemoveFile(building);
        return false;
    }
    const bool built = store.Begin() && ReadAll(store, progress, report, problem) &&
                       store.RebuildPlant() && store.Commit() && store.FinishBulk();
    if (!built && problem != nullptr && problem->empty()) {
        *problem = store.Error();
    }
    store.Close();
    if (!built) {
        RemoveFile(building);
        return false;
    }
    RemoveFile(path + "-wal");
    RemoveFile(path + "-shm");
    if (std::rename(building.c_str(), path.c_str()) != 0) {
        SetProblem(problem, "cannot put the new summary in place of " + path);
        RemoveFile(building);
        return false;
    }
    return true;
}

bool OpenSummary(SummaryStore& store, RebuildReport& report, std::string* problem,
                 const RebuildProgress& progress) {
    const std::string path = SummaryPath();
    std::string reason;
    SummaryStore::Opened opened = store.Open(path, &reason);
    if (opened == SummaryStore::Opened::UNUSABLE) {
        if (!MoveSummaryAside(path)) {
            SetProblem(problem, path + " is unusable (" + reason + ") and cannot be moved aside");
            return false;
        }
        report.movedAside = reason;
        opened = SummaryStore::Opened::MISSING;
    }
    if (opened == SummaryStore::Opened::MISSING) {
        if (!RebuildSummary(progress, report, problem)) {
            return false;
        }
        if (store.Open(path, &reason) != SummaryStore::Opened::READY) {
            SetProblem(problem, path + ": " + reason);
            return false;
        }
    }
    return CatchUpSummary(store, report.counts, problem);
}

bool ReplaceDamagedSummary(SummaryStore& store, RebuildReport& report, std::string* problem,
                           const RebuildProgress& progress) {
    store.Close();
    if (!MoveSummaryAside(SummaryPath())) {
        SetProblem(problem, SummaryPath() + " is damaged and cannot be moved aside");
        return false;
    }
    report.movedAside = "damaged";
    return OpenSummary(store, report, problem, progress);
}

bool CatchUpSummary(SummaryStore& store, ReadCounts& counts, std::string* problem) {
    const std::string directory = HistLogDirectory();
    SummaryUpdater updater(store, directory);
    if (!store.Begin()) {
        SetProblem(problem, store.Error());
        return false;
    }
    for (const std::string& file : SummaryUpdater::HistoryFiles(directory)) {
        if (!updater.Update(file, counts)) {
            store.Rollback();
            SetProblem(problem, updater.Error());
            return false;
        }
    }
    if (!store.RefreshPlant(updater.TakeTouched()) || !store.Commit()) {
        SetProblem(problem, store.Error());
        store.Rollback();
        return false;
    }
    return true;
}
