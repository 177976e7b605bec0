#include "PnmImage.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "CodecTestFiles.h"

bool ReadPnmFile(const std::string& path, PnmImage& image)
{
    std::istringstream in(ReadFileBytes(path));
    std::string magic;
    int maxValue = 0;
    in >> magic >> image.width >> image.height >> maxValue;
    in.get();  // the one whitespace byte before the samples
    if (!in || (magic != "P5" && magic != "P6") || maxValue != 255)
        return false;
    const size_t channels = magic == "P6" ? 3 : 1;
    std::string samples(channels * image.width * image.height, '\0');
    if (!in.read(&samples[0], static_cast<std::streamsize>(samples.size())))
        return false;
    image.rgb.assign(samples.begin(), samples.end());
    if (channels == 1) {
        image.rgb.clear();
        for (char grey : samples)
            image.rgb.insert(image.rgb.end(), 3, static_cast<BYTE>(grey));
    }
    return true;
}

int LargestSampleDifference(const std::vector<BYTE>& a, const std::vector<BYTE>& b)
{
    if (a.size() != b.size())
        return 256;
    int largest = 0;
    for (size_t i = 0; i < a.size(); ++i)
        largest = std::max(largest, std::abs(a[i] - b[i]));
    return largest;
}
