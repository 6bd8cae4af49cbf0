#include "app/visual_style.h"

#include <algorithm>

#include "app/commands.h"

namespace qf {

namespace {

// clang-format off
//                 window    winText   base      altBase   text      button    btnText   highlt    hlText    tipBase   tipText   disabled  link
const VisualStyle kStyles[] = {
    {ID_STYLE_WINDOWS_2000, "Windows 2000", "Windows", false,
     {0xD4D0C8, 0x000000, 0xFFFFFF, 0xF4F3EF, 0x000000, 0xD4D0C8, 0x000000, 0x0A246A, 0xFFFFFF, 0xFFFFE1, 0x000000, 0x808080, 0x0000FF}},
    {ID_STYLE_OFFICE_XP, "Office XP", "Fusion", false,
     {0xF0EFEA, 0x000000, 0xFFFFFF, 0xF7F6F3, 0x000000, 0xFBFAF6, 0x000000, 0xB6BDD2, 0x000000, 0xFFFFE1, 0x000000, 0x8D8D8D, 0x0A246A}},
    {ID_STYLE_WINDOWS_XP, "Windows XP", "Windows", false,
     {0xECE9D8, 0x000000, 0xFFFFFF, 0xF6F5EE, 0x000000, 0xECE9D8, 0x000000, 0x316AC5, 0xFFFFFF, 0xFFFFE1, 0x000000, 0xACA899, 0x0000FF}},
    {ID_STYLE_OFFICE_2003, "Office 2003", "Fusion", true,
     {0xC3DAF9, 0x000000, 0xFFFFFF, 0xEEF4FD, 0x000000, 0xDDECFE, 0x000000, 0xFFEEC2, 0x000000, 0xFFFFE1, 0x000000, 0x6D7C98, 0x0000C0}},
    {ID_STYLE_VS_2005, "Visual Studio 2005", "Fusion", true,
     {0xE5E3D6, 0x000000, 0xFFFFFF, 0xF5F4EE, 0x000000, 0xF5F4EE, 0x000000, 0xC1D2EE, 0x000000, 0xFFFFE1, 0x000000, 0x8D8A7E, 0x0000FF}},
    {ID_STYLE_VS_2008, "Visual Studio 2008", "Fusion", true,
     {0xD9E0EC, 0x000000, 0xFFFFFF, 0xF0F3F8, 0x000000, 0xEEF1F7, 0x000000, 0x3D6FB5, 0xFFFFFF, 0xFFFFE1, 0x000000, 0x7E8899, 0x0645AD}},
    {ID_STYLE_OFFICE_2007_BLUE, "Office 2007 (blue)", "Fusion", true,
     {0xBFDBFF, 0x15428B, 0xFFFFFF, 0xEAF2FD, 0x000000, 0xD5E5FA, 0x15428B, 0xFFD775, 0x000000, 0xFFFFFF, 0x4C4C4C, 0x6F85A8, 0x0645AD}},
    {ID_STYLE_OFFICE_2007_BLACK, "Office 2007 (black)", "Fusion", true,
     {0x2D2D30, 0xE8E8E8, 0x1E1E1E, 0x2A2A2D, 0xE8E8E8, 0x3C3C40, 0xE8E8E8, 0xE8A33D, 0x000000, 0x3C3C40, 0xE8E8E8, 0x808080, 0x7FB2F0}},
    {ID_STYLE_OFFICE_2007_SILVER, "Office 2007 (silver)", "Fusion", true,
     {0xDDE1E8, 0x3B3B3B, 0xFFFFFF, 0xF2F3F6, 0x000000, 0xEEF0F4, 0x3B3B3B, 0xFFD775, 0x000000, 0xFFFFFF, 0x4C4C4C, 0x8C9098, 0x0645AD}},
    {ID_STYLE_OFFICE_2007_AQUA, "Office 2007 (aqua)", "Fusion", true,
     {0xC4DCE6, 0x1F4E6B, 0xFFFFFF, 0xEAF3F7, 0x000000, 0xE0EDF3, 0x1F4E6B, 0xFFD775, 0x000000, 0xFFFFFF, 0x4C4C4C, 0x6F8E9E, 0x0645AD}},
    {ID_STYLE_WINDOWS_7, "Windows 7", "Fusion", true,
     {0xF0F0F0, 0x000000, 0xFFFFFF, 0xF7F7F7, 0x000000, 0xF0F0F0, 0x000000, 0x1C6FD6, 0xFFFFFF, 0xFFFFE1, 0x000000, 0x8D8D8D, 0x0066CC}},
};
// clang-format on

const VisualStyle* find(int id) {
    auto it = std::find_if(std::begin(kStyles), std::end(kStyles),
                           [id](const VisualStyle& s) { return s.id == id; });
    return it == std::end(kStyles) ? nullptr : &*it;
}

}  // namespace

std::span<const VisualStyle> visualStyles() {
    return kStyles;
}

bool isOffice2007Colour(int id) {
    return id >= ID_STYLE_OFFICE_2007_BLUE && id <= ID_STYLE_OFFICE_2007_AQUA;
}

const VisualStyle& visualStyleOf(int id, int office2007Colour) {
    if (const VisualStyle* s = find(id)) return *s;
    return *find(isOffice2007Colour(office2007Colour) ? office2007Colour
                                                      : ID_STYLE_OFFICE_2007_BLUE);
}

}  // namespace qf
