#pragma once
// The scenario in memory: an ordered list of line texts. A line whose text is blank is a
// separator. The scenario desk of the workspace owns one and saves it after every change.

#include <cstddef>
#include <string>
#include <vector>

namespace pelko {

class TScriptLines {
  public:
    std::size_t Count() const { return lines_.size(); }
    bool Empty() const { return lines_.empty(); }
    const std::vector<std::string>& Lines() const { return lines_; }

    // Appends a line; returns its index.
    std::size_t Add(std::string text);
    // Both throw "Запись со индексом %d в файле данных не найдена!" outside the list.
    void Set(std::size_t index, std::string text);
    const std::string& Get(std::size_t index) const;

    // Deletes the lines at these indices (any order, repeats allowed) from the last to the
    // first; the rest keep their order. An index outside the list throws the not-found
    // error before anything is deleted.
    void DeleteRows(std::vector<std::size_t> indices);
    void Clear() { lines_.clear(); }

    // Exchange the line with its neighbour; false (nothing changed) at the ends or outside.
    bool MoveUp(std::size_t index);
    bool MoveDown(std::size_t index);

    void Replace(std::vector<std::string> lines) { lines_ = std::move(lines); }
    // Appends loaded lines: into an empty scenario they simply become the scenario; else a
    // separator goes between unless the last line already is an empty one. Nothing to
    // append changes nothing.
    void Append(const std::vector<std::string>& lines);

  private:
    void CheckIndex(std::size_t index) const;

    std::vector<std::string> lines_;
};

// "Запись со индексом %d в файле данных не найдена!"
std::string RecordNotFoundText(std::size_t index);

} // namespace pelko
