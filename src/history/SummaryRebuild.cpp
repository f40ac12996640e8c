#include "SummaryRebuild.h"

#include "SummarySchema.h"
#include "SummaryStore.h"
#include "platform/DataDirectory.h"
#include "platform/SystemError.h"
#include "store/HistoryFileName.h"
#include "store/MoveFileAside.h"

#include <algorithm>
#include <cerrno>
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
// opens the file next. Empty, or why the summary stayed.
std::string MoveSummaryAside(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::exists(path + "-wal", ignored)) {
        if (const auto log = MoveFileAside(path + "-wal"); !log) {
            return log.Reason();
        }
    }
    RemoveFile(path + "-shm");
    const auto moved = MoveFileAside(path);
    return moved ? std::string() : moved.Reason();
}

bool ReadAll(SummaryStore& store, const RebuildProgress& progress, RebuildReport& report,
             std::string* problem) {
    const std::string directory = HistLogDirectory();
    const std::vector<std::string> files = HistoryFiles(directory);
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
    SqliteTransaction transaction = store.Begin();
    const bool built = transaction.Begun() && ReadAll(store, progress, report, problem) &&
                       store.RebuildPlant() && transaction.Commit() && store.FinishBulk();
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
        SetProblem(problem, SystemError("cannot put the new summary in place of " + path, errno));
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
        if (const std::string stayed = MoveSummaryAside(path); !stayed.empty()) {
            SetProblem(problem, path + " is unusable (" + reason + "): " + stayed);
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
    if (const std::string stayed = MoveSummaryAside(SummaryPath()); !stayed.empty()) {
        SetProblem(problem, SummaryPath() + " is damaged: " + stayed);
        return false;
    }
    report.movedAside = "damaged";
    return OpenSummary(store, report, problem, progress);
}

bool CatchUpSummary(SummaryStore& store, ReadCounts& counts, std::string* problem) {
    const std::string directory = HistLogDirectory();
    SummaryUpdater updater(store, directory);
    SqliteTransaction transaction = store.Begin();
    if (!transaction.Begun()) {
        SetProblem(problem, store.Error());
        return false;
    }
    for (const std::string& file : HistoryFiles(directory)) {
        if (!updater.Update(file, counts)) {
            SetProblem(problem, updater.Error());
            return false;
        }
    }
    if (!store.RefreshPlant(updater.TakeTouched()) || !transaction.Commit()) {
        SetProblem(problem, store.Error());
        return false;
    }
    return true;
}
