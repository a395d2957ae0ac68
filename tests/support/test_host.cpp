#include "support/test_host.h"

namespace pelko::test {

bool TTestHost::AskYesNo(const std::string& text, const std::string& /*caption*/,
                         bool /*defaultYes*/) {
    questions.push_back(text);
    if (answers.empty())
        return defaultAnswer;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

std::vector<std::string> TTestHost::Errors() const {
    std::vector<std::string> out;
    for (const auto& b : boxes)
        if (b.kind == TBoxKind::Error)
            out.push_back(b.text);
    return out;
}

std::string TTestHost::LastStatus() const {
    for (auto it = statuses.rbegin(); it != statuses.rend(); ++it)
        if (!it->empty())
            return *it;
    return {};
}

} // namespace pelko::test
