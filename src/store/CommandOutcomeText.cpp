#include "CommandOutcomeText.h"

const char* CommandOutcomeText(CommandOutcome outcome) {
    switch (outcome) {
    case OUTCOME_ACKNOWLEDGED: return "written";
    case OUTCOME_REFUSED: return "refused by the inverter";
    case OUTCOME_PENDING:
    case OUTCOME_NO_ANSWER: break;
    }
    return "no answer";
}
