#pragma once
// How the generated graph is drawn; edited in the settings panel.

#include <cstdint>

namespace qf {

struct GraphStyle {
    int32_t showGrid = 1;        // grid inside the plot rectangle; 0: "LOG" marks a log axis
    int32_t showMarkers = 1;     // filled 6 x 6 square at each point
    int32_t showLines = 1;       // join consecutive points
    int32_t showNumbers = 0;     // 1-based index left of each point
    uint32_t colour = 0x000000;  // 0x00BBGGRR
    friend bool operator==(const GraphStyle&, const GraphStyle&) = default;
};

}  // namespace qf
