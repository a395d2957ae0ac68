#pragma once
// Temporary files of whole-file saves (".<name>.tmp<suffix>" beside the file they replace)
// stay behind when the program is killed in the middle of a save. The writer that takes
// the data folder's lock removes them: no save of another program can be running then.

#include <filesystem>

namespace pelko {

// Removes the save leftovers in the folder and its "Prefetchs" and "Systems" folders;
// returns how many were removed. Errors are ignored (the next start tries again).
int RemoveStaleTempFiles(const std::filesystem::path& dataFolder);

} // namespace pelko
