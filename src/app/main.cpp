// Command-line front end to the fitting engine, until the window exists:
// fits a file of digitised pixel positions and prints the report and the
// generated points as the program writes them.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "fit/fit_driver.h"
#include "fit/report.h"

namespace {

void usage() {
    std::cerr << "usage: quillfen [--model 0|1|2] [--degree n] [--count c] [--xlog] [--ylog]\n"
                 "                [--axis L,T,R,B] [--x min,max] [--y min,max] points.csv\n"
                 "points.csv: one \"H,V\" pixel position per line (other lines are skipped)\n";
}

bool parseList(const char* text, std::vector<double>& values, std::size_t count) {
    std::stringstream in(text);
    std::string item;
    values.clear();
    while (std::getline(in, item, ',')) {
        char* end = nullptr;
        values.push_back(std::strtod(item.c_str(), &end));
        if (end == item.c_str()) return false;
    }
    return values.size() == count;
}

}  // namespace

int main(int argc, char** argv) {
    qf::FitInput in;
    in.imagePresent = true;
    const char* path = nullptr;
    std::vector<double> v;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--model" && hasValue)
            in.settings.m_modelKind = std::atoi(argv[++i]);
        else if (a == "--degree" && hasValue)
            in.settings.m_degree = std::atoi(argv[++i]);
        else if (a == "--count" && hasValue)
            in.settings.m_graphPointCount = std::atoi(argv[++i]);
        else if (a == "--xlog")
            in.axis.m_xLog = 1;
        else if (a == "--ylog")
            in.axis.m_yLog = 1;
        else if (a == "--axis" && hasValue && parseList(argv[++i], v, 4))
            in.axis.m_axisRect = {int(v[0]), int(v[1]), int(v[2]), int(v[3])};
        else if (a == "--x" && hasValue && parseList(argv[++i], v, 2))
            in.axis.m_xMin = v[0], in.axis.m_xMax = v[1];
        else if (a == "--y" && hasValue && parseList(argv[++i], v, 2))
            in.axis.m_yMin = v[0], in.axis.m_yMax = v[1];
        else if (a[0] != '-' && !path)
            path = argv[i];
        else
            return usage(), 2;
    }
    if (!path) return usage(), 2;

    std::ifstream file(path);
    if (!file) {
        std::cerr << "Unable to open " << path << "\n";
        return 1;
    }
    std::vector<qf::SourcePoint> points;
    for (std::string line; std::getline(file, line);) {
        int h, vv;
        if (std::sscanf(line.c_str(), "%d,%d", &h, &vv) == 2) points.push_back({h, vv});
    }
    in.points = points.data();
    in.pointCount = static_cast<int32_t>(points.size());

    auto work = std::make_unique<qf::SvdFitWork>();
    qf::FitResult result;
    qf::GeneratedGraph graph;
    const qf::FitOutcome out = qf::runFit(in, *work, result, graph);
    for (const qf::FitEvent& e : out.events)
        if (e.kind == qf::FitEventKind::MessageBox) std::cerr << e.text;
    if (out.status != qf::FitOk) {
        std::cerr << "fit status " << out.status << "\n";
        return 1;
    }
    std::cout << qf::generatedGraphFileText(result, graph, in.settings.m_basisExpr);
    return 0;
}
