#include "app/HandedFiles.h"

#include <cstdint>
#include <cstring>

namespace {
struct Header {
    uint32_t version;
    uint32_t count;
};
}  // namespace

std::vector<char> PackHandedFiles(const std::vector<std::string>& files)
{
    const Header header{kHandedFilesVersion, static_cast<uint32_t>(files.size())};
    std::vector<char> block(sizeof header);
    std::memcpy(block.data(), &header, sizeof header);
    for (const std::string& file : files)
        block.insert(block.end(), file.c_str(), file.c_str() + file.size() + 1);
    return block;
}

bool UnpackHandedFiles(const COPYDATASTRUCT& data, std::vector<std::string>& files)
{
    files.clear();
    Header header{};
    if (data.dwData != kHandedFilesTag || !data.lpData || data.cbData < sizeof header)
        return false;
    std::memcpy(&header, data.lpData, sizeof header);
    const char* next = static_cast<const char*>(data.lpData) + sizeof header;
    const char* end = static_cast<const char*>(data.lpData) + data.cbData;
    // Every path takes two bytes at least, so a count beyond that is damage.
    if (header.version != kHandedFilesVersion || header.count > static_cast<size_t>(end - next) / 2)
        return false;
    std::vector<std::string> received;
    for (uint32_t i = 0; i < header.count; ++i) {
        const void* zero = std::memchr(next, '\0', static_cast<size_t>(end - next));
        const size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - next) : 0;
        if (length == 0)
            return false;
        received.emplace_back(next, length);
        next += length + 1;
    }
    if (next != end)
        return false;
    files.swap(received);
    return true;
}
