#pragma once

#include <string>

class SqliteDb;

inline constexpr int SUMMARY_SCHEMA_VERSION = 2;
inline constexpr const char* SUMMARY_FILE_NAME = "HistSummary.db";

// DataDirectory() + "/" + SUMMARY_FILE_NAME: beside the HistLog folder.
std::string SummaryPath();

// The schema version of an open summary; -1, with the reason, when it is no
// summary or its header cannot be read.
int SummaryVersion(SqliteDb& db, std::string& problem);

// Why an open database is not a summary of this schema, in words; empty when
// it is one. Reader and writer accept the same files.
std::string SummaryUnusableReason(SqliteDb& db);

// The summary database's tables. Energies in Wh, powers in W (the plant's in
// mW, so that sums of means stay exact), temperatures in 0.1 degree Celsius,
// times in UTC seconds, days as local yyyymmdd keys.
inline constexpr int SUMMARY_APPLICATION_ID = 0x48575355; // "HWSU"

inline constexpr const char* SUMMARY_SCHEMA = R"sql(
CREATE TABLE source(
    id INTEGER PRIMARY KEY,
    file TEXT NOT NULL UNIQUE,
    device INTEGER NOT NULL DEFAULT 0,
    inode INTEGER NOT NULL DEFAULT 0,
    read_bytes INTEGER NOT NULL DEFAULT 0,
    skipped_lines INTEGER NOT NULL DEFAULT 0,
    last_time INTEGER,
    last_day INTEGER,
    last_e_today_wh INTEGER,
    last_e_total_wh INTEGER);
CREATE TABLE day(
    day INTEGER NOT NULL,
    source INTEGER NOT NULL,
    energy_wh INTEGER NOT NULL,
    peak_w INTEGER NOT NULL,
    peak_time INTEGER NOT NULL,
    first_time INTEGER NOT NULL,
    last_time INTEGER NOT NULL,
    samples INTEGER NOT NULL,
    minutes_online INTEGER NOT NULL,
    temp_min INTEGER NOT NULL,
    temp_max INTEGER NOT NULL,
    PRIMARY KEY(day, source)) WITHOUT ROWID;
CREATE INDEX day_of_source ON day(source, day);
CREATE TABLE bucket(
    source INTEGER NOT NULL,
    start INTEGER NOT NULL,
    samples INTEGER NOT NULL,
    power_sum_w INTEGER NOT NULL,
    power_max_w INTEGER NOT NULL,
    energy_wh INTEGER NOT NULL,
    PRIMARY KEY(source, start)) WITHOUT ROWID;
CREATE TABLE plant_bucket(
    start INTEGER PRIMARY KEY,
    power_mw INTEGER NOT NULL,
    energy_wh INTEGER NOT NULL);
)sql";

// Added by version 2: today's power of each inverter by half minute, each
// span with its mean and the shape of its curve (first, lowest, highest and
// last value, and the largest change from one sample to the next, each with
// its second in the span, and the longest step between two samples), and the
// energy of the day at its last sample. Spans of days before the last one
// read are dropped. span_since holds the moment from which every sample read
// has its span.
inline constexpr const char* SUMMARY_SPAN_SCHEMA = R"sql(
CREATE TABLE span(
    source INTEGER NOT NULL,
    start INTEGER NOT NULL,
    samples INTEGER NOT NULL,
    power_sum_w INTEGER NOT NULL,
    power_min_w INTEGER NOT NULL,
    min_second INTEGER NOT NULL,
    power_max_w INTEGER NOT NULL,
    max_second INTEGER NOT NULL,
    first_w INTEGER NOT NULL,
    first_second INTEGER NOT NULL,
    last_w INTEGER NOT NULL,
    last_second INTEGER NOT NULL,
    before_jump_w INTEGER NOT NULL,
    jump_from_second INTEGER NOT NULL,
    after_jump_w INTEGER NOT NULL,
    jump_to_second INTEGER NOT NULL,
    longest_step INTEGER NOT NULL,
    e_today_wh INTEGER NOT NULL,
    PRIMARY KEY(source, start)) WITHOUT ROWID;
CREATE TABLE span_since(since INTEGER NOT NULL);
)sql";

// A summary of this version becomes one of the current version in place.
inline constexpr int SUMMARY_MIGRATABLE_VERSION = 1;
