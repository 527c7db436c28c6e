#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ProfileFile.h"

namespace orvane::test {

inline ProfileFile ProfileFromText(std::string_view text)
{
    ProfileFile profile;
    profile.LoadFromText(text);
    return profile;
}

// The key=value lines of one section, in file order, as the saved text has them.
inline std::vector<std::pair<std::string, std::string>> SectionEntries(const ProfileFile& profile,
                                                                       std::string_view section)
{
    std::vector<std::pair<std::string, std::string>> entries;
    const std::string text = profile.ToText();
    const std::string header = "[" + std::string(section) + "]";
    bool inSection = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.starts_with("[")) {
            inSection = line == header;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inSection && equals != std::string::npos) {
            entries.emplace_back(line.substr(0, equals), line.substr(equals + 1));
        }
    }
    return entries;
}

inline std::vector<std::string> SectionKeys(const ProfileFile& profile, std::string_view section)
{
    std::vector<std::string> keys;
    for (auto& entry : SectionEntries(profile, section)) {
        keys.push_back(entry.first);
    }
    return keys;
}

} // namespace orvane::test
