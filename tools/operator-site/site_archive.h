#pragma once
// The draws the site serves, read from a CSV in the export form. Numbers are kept as written:
// the site must be able to serve impossible draws so that the client's refusal can be tested.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pelko::site {

struct TSiteDraw {
    int Number = 0;
    std::string Date; // UTF-8, as written, e.g. "10.11.2008 00:00"
    std::vector<int> Balls;
};

class TSiteArchive {
  public:
    // number;"date";n1;...;n6 per line, CP1251, CR LF or LF; blank lines are skipped, any count
    // of numbers is taken, a draw number may repeat. Throws std::runtime_error naming the line
    // that does not parse.
    static TSiteArchive FromCsv(std::string_view content);
    static TSiteArchive FromFile(const std::filesystem::path& file);

    // Draws numbered first..last, newest first.
    std::vector<const TSiteDraw*> NewestFirstInRange(int first, int last) const;
    // The newest draw with that number, or nullptr.
    const TSiteDraw* Find(int number) const;
    std::size_t Size() const { return draws_.size(); }

  private:
    std::vector<TSiteDraw> draws_; // archive order, oldest first
};

} // namespace pelko::site
