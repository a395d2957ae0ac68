#include "support/temp_dir.h"

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>

namespace pelko::test {

TTempDir::TTempDir() {
    std::string name = (std::filesystem::temp_directory_path() / "pelko-test-XXXXXX").string();
    if (!::mkdtemp(name.data())) throw std::system_error(errno, std::generic_category(), "mkdtemp");
    path_ = name;
}

TTempDir::~TTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace pelko::test
