#include "reading/axis_fit.h"

#include <cmath>
#include <limits>

namespace qf {
namespace {

struct Line {
    double c = 0, d = 0;  // pixel = c + d * u, u the value (or its log)
};

// Least squares of pixel on u over the chosen labels: the pixel is what
// carries the error, the value is exact once read.
bool leastSquares(const std::vector<double>& p, const std::vector<double>& u,
                  const std::vector<bool>& in, Line& line) {
    double n = 0, su = 0, sp = 0;
    for (std::size_t i = 0; i < p.size(); ++i)
        if (in[i]) n += 1, su += u[i], sp += p[i];
    if (n < 2) return false;
    const double mu = su / n, mp = sp / n;
    double suu = 0, sup = 0;
    for (std::size_t i = 0; i < p.size(); ++i)
        if (in[i]) suu += (u[i] - mu) * (u[i] - mu), sup += (u[i] - mu) * (p[i] - mp);
    if (suu <= 0) return false;
    line.d = sup / suu;
    line.c = mp - line.d * mu;
    return std::isfinite(line.d) && line.d != 0;
}

struct Candidate {
    Line line;
    std::vector<bool> in;
    int count = 0;
    double rms = std::numeric_limits<double>::infinity();
};

Candidate inliers(const std::vector<double>& p, const std::vector<double>& u,
                  const std::vector<bool>& valid, const Line& line, double tolerance) {
    Candidate c;
    c.line = line;
    c.in.assign(p.size(), false);
    double ss = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (!valid[i]) continue;
        const double r = p[i] - (line.c + line.d * u[i]);
        if (std::abs(r) <= tolerance) c.in[i] = true, ++c.count, ss += r * r;
    }
    if (c.count > 0) c.rms = std::sqrt(ss / c.count);
    return c;
}

// Every pair of labels proposes a line; the one most labels agree with wins
// and is refined on those labels.
Candidate bestLine(const std::vector<double>& p, const std::vector<double>& u,
                   const std::vector<bool>& valid, double tolerance) {
    Candidate best;
    for (std::size_t i = 0; i < p.size(); ++i) {
        for (std::size_t j = i + 1; j < p.size(); ++j) {
            if (!valid[i] || !valid[j] || u[i] == u[j]) continue;
            Line l;
            l.d = (p[j] - p[i]) / (u[j] - u[i]);
            l.c = p[i] - l.d * u[i];
            if (!std::isfinite(l.d) || l.d == 0) continue;
            Candidate c = inliers(p, u, valid, l, tolerance);
            for (int round = 0; round < 3 && c.count >= 2; ++round) {
                Line refined;
                if (!leastSquares(p, u, c.in, refined)) break;
                Candidate next = inliers(p, u, valid, refined, tolerance);
                if (next.count < c.count) break;
                c = next;
            }
            if (c.count > best.count || (c.count == best.count && c.rms < best.rms)) best = c;
        }
    }
    return best;
}

}  // namespace

double AxisFit::valueAt(double pixel) const {
    const double v = a + b * pixel;
    return log ? std::pow(10.0, v) : v;
}

AxisFit fitAxis(const std::vector<double>& pixels, const std::vector<double>& values,
                double tolerance, int usual) {
    AxisFit fit;
    const std::size_t n = pixels.size();
    fit.used.assign(n, false);
    int distinct = 0;
    for (std::size_t i = 0; i < n; ++i) {
        bool seen = false;
        for (std::size_t j = 0; j < i; ++j) seen = seen || values[j] == values[i];
        distinct += seen ? 0 : 1;
    }
    if (distinct < 3) {
        fit.reason = n == 0 ? "no tick labels could be read"
                            : "fewer than three different tick labels could be read";
        return fit;
    }
    const std::vector<bool> all(n, true);
    std::vector<bool> positive(n);
    std::vector<double> logs(n);
    for (std::size_t i = 0; i < n; ++i) {
        positive[i] = values[i] > 0;
        logs[i] = positive[i] ? std::log10(values[i]) : 0.0;
    }
    const Candidate lin = bestLine(pixels, values, all, tolerance);
    const Candidate lg = bestLine(pixels, logs, positive, tolerance);
    // Linear unless the logarithmic scale explains more labels, or as many
    // labels clearly better (values in a narrow range fit both).
    const bool useLog = lg.count > lin.count || (lg.count == lin.count && lg.rms < 0.5 * lin.rms);
    const Candidate& best = useLog ? lg : lin;
    const int needed = std::max(3, int(n / 2) + 1);
    if (best.count < needed) {
        fit.reason = best.count < 3
                         ? "fewer than three tick labels agree on a linear or logarithmic scale"
                         : "too many tick labels disagree with the scale the others give";
        return fit;
    }
    const bool reversed = usual != 0 && (best.line.d > 0) != (usual > 0);
    if (reversed && best.count < int(n)) {
        fit.reason =
            "the tick labels that agree run against the usual direction and others disagree";
        return fit;
    }
    fit.ok = true;
    fit.log = useLog;
    fit.used = best.in;
    fit.rms = best.rms;
    // pixel = c + d u  =>  u = (pixel - c) / d
    fit.b = 1.0 / best.line.d;
    fit.a = -best.line.c / best.line.d;
    return fit;
}

}  // namespace qf
