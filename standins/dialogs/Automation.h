// Journal and scripted answers of the shared dialogs (see JorvAutomation.h).
#pragma once
#include <optional>

#include "standins/dialogs/JorvAutomation.h"

namespace jorv {

// Records the call and, when a scripted answer is queued for its function,
// runs it and answers its result. Without one: in unattended mode answers 0
// (cancelled); otherwise answers nothing and the caller shows its dialog.
std::optional<int> Intercept(JorvCall& call);

void WaitOpened();
void WaitClosed();

}  // namespace jorv
