#pragma once

// What the communication thread does on its next loop pass.
enum CommStep {
    STEP_SCHEDULE = 0,
    STEP_REGISTER = 1,
    STEP_POLL = 2,
    STEP_WRITE_PARAMS = 3,
    STEP_REMOVE = 4,
    STEP_RESET_TOTALS = 5,
    STEP_CHANGE_SERIAL = 6,
    STEP_RECONNECT_ALL = 7,
};
