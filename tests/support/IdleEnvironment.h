#pragma once

#include "comm/CommEnvironment.h"

class UserNotifier;

// Communication threads that end at once: they get no port object, so they
// touch no group and the test plays their part on the records.
CommEnvironment IdleEnvironment(UserNotifier& notifier);
