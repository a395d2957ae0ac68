#pragma once
// System play: the numbers of the current list looked up in the systems folder, and the
// system's combinations (all, or those the list holds) made into stakes of the stakes desk.

#include "core/comb_list.h"
#include "core/lottery.h"
#include "stakes/systems.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace pelko {

class TStakesDesk;
class Workspace;

// What system play found for the current list, ready for the multi-stake dialog.
struct TSystemPlay {
    bool WholeSystem = true;
    TByteArray Numbers;
    TSystemLookup Lookup;
    std::string DefaultComment;
};

class TSystemsDesk {
  public:
    TSystemsDesk(Workspace& ws, TStakesDesk& stakes);

    std::filesystem::path SystemsFolder() const;
    // Step 1 of system play: the list's numbers and their system; none after the error box.
    std::optional<TSystemPlay> FindSystemForList(const TCombList& list, bool wholeSystem);
    // Steps 3-5 after the multi-stake dialog.
    bool PlaySystem(const TSystemPlay& play, const TCombList& list, std::int32_t drawNumber,
                    const std::string& comment, int drawsCount);

  private:
    Workspace& ws_;
    TStakesDesk& stakes_;
};

} // namespace pelko
