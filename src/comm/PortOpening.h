#pragma once

class CInverterGroup;

// Opens the group's inverter port and keeps why it failed in the group. The
// first failure of an episode, a changed reason and the recovery are logged
// once each, not on every retry.
void OpenInverterPort(CInverterGroup& group);
