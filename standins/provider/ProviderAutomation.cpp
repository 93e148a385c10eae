
#include "ProviderAutomation.h"

#include "AnswerQueue.h"

namespace ProviderAutomation {
void SetInlineAnswers(bool inlineAnswers) { provider::AnswerQueue::Instance().SetInline(inlineAnswers); }
void WaitIdle() { provider::AnswerQueue::Instance().WaitIdle(); }
}  // namespace ProviderAutomation
