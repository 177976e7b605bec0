#include "SkinTable.h"

#include <iterator>

namespace snapcore {

namespace {

const SkinStyle kSkins[] = {
    {   u8"经典蓝", // classic blue: grey bevelled border, deep blue caption
        RGB(0, 40, 110), RGB(255, 255, 255), RGB(128, 128, 128), RGB(212, 208, 200), RGB(128, 128, 128), 4,
        RGB(58, 128, 232), RGB(8, 58, 168), RGB(255, 255, 255), RGB(8, 58, 168), 20, 0, false,
        {"SimSun", 13, FW_BOLD},
        RGB(255, 255, 255),
        RGB(255, 255, 225), RGB(118, 118, 118), RGB(0, 0, 0), {"SimSun", 13, FW_NORMAL}},
    {   u8"石墨黑", // graphite: flat dark frame with an orange accent
        RGB(12, 12, 12), RGB(72, 72, 76), RGB(24, 24, 26), RGB(45, 45, 48), RGB(18, 18, 20), 3,
        RGB(66, 66, 70), RGB(38, 38, 42), RGB(240, 240, 240), RGB(255, 140, 0), 24, 2, true,
        {"Microsoft YaHei", 14, FW_NORMAL},
        RGB(28, 28, 30),
        RGB(52, 52, 56), RGB(255, 140, 0), RGB(255, 204, 128), {"Microsoft YaHei", 13, FW_NORMAL}},
    {   u8"翡翠绿", // jade: wide mint border, green caption
        RGB(20, 90, 60), RGB(236, 250, 242), RGB(120, 170, 145), RGB(200, 230, 214), RGB(90, 150, 120), 5,
        RGB(70, 180, 130), RGB(20, 116, 76), RGB(255, 255, 255), RGB(20, 116, 76), 22, 0, false,
        {"KaiTi", 15, FW_BOLD},
        RGB(242, 251, 246),
        RGB(222, 244, 232), RGB(60, 150, 110), RGB(15, 80, 50), {"KaiTi", 14, FW_NORMAL}},
    {   u8"樱花粉", // cherry blossom: soft pink with plum text
        RGB(190, 90, 130), RGB(255, 255, 255), RGB(230, 170, 195), RGB(252, 228, 236), RGB(236, 140, 176), 4,
        RGB(255, 206, 222), RGB(240, 136, 172), RGB(100, 20, 55), RGB(200, 80, 125), 24, 1, true,
        {"Microsoft YaHei", 14, FW_BOLD},
        RGB(255, 246, 249),
        RGB(255, 234, 241), RGB(236, 120, 160), RGB(150, 30, 80), {"Microsoft YaHei", 13, FW_NORMAL}},
    {   u8"琥珀金", // amber: golden caption with a brown rule
        RGB(120, 80, 10), RGB(255, 246, 216), RGB(190, 150, 70), RGB(245, 225, 170), RGB(160, 120, 40), 4,
        RGB(252, 208, 96), RGB(216, 150, 30), RGB(70, 40, 0), RGB(140, 90, 10), 22, 1, false,
        {"SimHei", 14, FW_NORMAL},
        RGB(255, 251, 238),
        RGB(255, 243, 205), RGB(200, 150, 50), RGB(110, 70, 0), {"SimHei", 13, FW_NORMAL}},
};

} // namespace

int SkinCount()
{
    return static_cast<int>(std::size(kSkins));
}

const SkinStyle& SkinAt(int index)
{
    return index >= 0 && index < SkinCount() ? kSkins[index] : kSkins[0];
}

} // namespace snapcore
