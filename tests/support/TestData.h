#pragma once

#include <filesystem>
#include <string>

namespace orvane::test {

// Path of a committed test data file under tests/data.
inline std::filesystem::path DataPath(const std::string& name)
{
    return std::filesystem::path(ORVANE_TEST_DATA_DIR) / name;
}

}  // namespace orvane::test
