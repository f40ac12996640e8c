#pragma once

#include "model/CommandReport.h"

#include <chrono>
#include <cstdint>

class CInverter;
class CInverterGroup;

// A command the user interface hands to a port's thread carries a ticket; the
// thread files what became of it under that ticket, and whoever waits for it
// takes the report from the record. Each locks the record's group.
std::uint32_t IssueTicket(CInverter& inverter);
void FileCommandReport(CInverter& inverter, std::uint32_t ticket, CommandOutcome outcome);
// OUTCOME_PENDING until the report is filed; a report is taken only once.
CommandOutcome TakeCommandOutcome(CInverter& inverter, std::uint32_t ticket);

// How long to wait for the report on a command of this many transactions to
// the group's inverters: the command may have to wait for a polling cycle of
// the port or a registration, then takes its own transactions.
std::chrono::milliseconds CommandWaitLimit(const CInverterGroup& group, int transactions);
