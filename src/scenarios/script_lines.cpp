#include "scenarios/script_lines.h"

#include "core/format.h"
#include "scenarios/script_line.h"

#include <algorithm>
#include <stdexcept>

namespace pelko {

std::string RecordNotFoundText(std::size_t index) {
    return Format("Запись со индексом %lld в файле данных не найдена!",
                  static_cast<long long>(index));
}

void TScriptLines::CheckIndex(std::size_t index) const {
    if (index >= lines_.size()) throw std::runtime_error(RecordNotFoundText(index));
}

std::size_t TScriptLines::Add(std::string text) {
    lines_.push_back(std::move(text));
    return lines_.size() - 1;
}

void TScriptLines::Set(std::size_t index, std::string text) {
    CheckIndex(index);
    lines_[index] = std::move(text);
}

const std::string& TScriptLines::Get(std::size_t index) const {
    CheckIndex(index);
    return lines_[index];
}

void TScriptLines::DeleteRows(std::vector<std::size_t> indices) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    if (indices.empty()) return;
    CheckIndex(indices.back());
    // One compacting pass: the same result as erasing from the last to the first.
    std::size_t kept = indices.front();
    std::size_t next = 0;
    for (std::size_t i = indices.front(); i < lines_.size(); ++i) {
        if (next < indices.size() && indices[next] == i) {
            ++next;
            continue;
        }
        lines_[kept++] = std::move(lines_[i]);
    }
    lines_.resize(kept);
}

bool TScriptLines::MoveUp(std::size_t index) {
    if (index == 0 || index >= lines_.size()) return false;
    std::swap(lines_[index], lines_[index - 1]);
    return true;
}

bool TScriptLines::MoveDown(std::size_t index) {
    if (index + 1 >= lines_.size()) return false;
    std::swap(lines_[index], lines_[index + 1]);
    return true;
}

void TScriptLines::Append(const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    if (lines_.empty()) {
        lines_ = lines;
        return;
    }
    if (!IsSeparatorLine(lines_.back())) lines_.emplace_back();
    lines_.insert(lines_.end(), lines.begin(), lines.end());
}

} // namespace pelko
