#!/usr/bin/python3
"""Scores extracted series against the functions the charts were drawn from,
with the line-chart data extraction metric of the CHART-Infographics
competition (task 6b, continuous series):

  recall(P, G)    = sum over the points (u_i, v_i) of G of
                    (1 - error_i) * interval_i / (u_M - u_1)
  error_i         = min(1, |v_i - P(u_i)| / (|v_i| + eps)), P linearly
                    interpolated (and extrapolated) at u_i
  interval_i      = half the distance between u_i's neighbours (one
                    neighbour at the ends)
  precision(P, G) = recall(G, P); a pair scores 2 p r / (p + r)

  eps is a hundredth of the range of G's values. The series of a chart are
  paired by the assignment of least total cost (1 - score), and the chart
  scores 1 - cost / max(predicted, drawn). With --axis the error is taken
  relative to the axis range instead (min(1, |v_i - P(u_i)| / range)).

The drawn series are those of series.json (the samples where the curve is
visible; a marker series' markers). The extracted ones come from the
acceptance test run with QF_EXTRACTION_RESULTS=DIR (clicks.json, every.json).

Usage: tools/extraction_metric.py tests/data/extraction/series.json DIR [--axis]
"""

import itertools
import json
import math
import sys


def interpolate(series, u):
    xs = [p[0] for p in series]
    if len(series) == 1:
        return series[0][1]
    # The segment holding u, or the end segment for extrapolation.
    lo, hi = 0, len(xs) - 1
    while hi - lo > 1:
        mid = (lo + hi) // 2
        if xs[mid] <= u:
            lo = mid
        else:
            hi = mid
    (x0, y0), (x1, y1) = series[lo], series[hi]
    if x1 == x0:
        return y0
    return y0 + (u - x0) / (x1 - x0) * (y1 - y0)


def recall(p, g, axis_range=None):
    if len(g) < 2 or not p:
        return 0.0
    span = g[-1][0] - g[0][0]
    values = [v for _, v in g]
    eps = (max(values) - min(values)) / 100
    total = 0.0
    for i, (u, v) in enumerate(g):
        if axis_range:
            err = min(1.0, abs(v - interpolate(p, u)) / axis_range)
        else:
            err = min(1.0, abs(v - interpolate(p, u)) / (abs(v) + eps))
        left = g[i - 1][0] if i > 0 else u
        right = g[i + 1][0] if i + 1 < len(g) else u
        total += (1 - err) * (right - left) / 2
    return total / span if span > 0 else 0.0


def pair_score(p, g, axis_range=None):
    r = recall(p, g, axis_range)
    q = recall(g, p, axis_range)
    return 2 * q * r / (q + r) if q + r > 0 else 0.0


def chart_score(predicted, drawn, axis_range=None):
    n = max(len(predicted), len(drawn))
    if n == 0:
        return 1.0
    best = None
    # The fixtures hold at most a few series: every pairing is tried.
    for order in itertools.permutations(range(n)):
        cost = 0.0
        for gi, pi in enumerate(order):
            if gi < len(drawn) and pi < len(predicted):
                cost += 1 - pair_score(predicted[pi], drawn[gi], axis_range)
            else:
                cost += 1
        best = cost if best is None else min(best, cost)
    return 1 - best / n


def drawn_series(chart):
    out = []
    for s in chart["series"]:
        lo, hi = s["visible"]
        if s["markers"]:
            pts = [[x, interpolate(s["samples"], x)] for x in s["markersX"]]
        else:
            pts = [p for p in s["samples"] if lo <= p[0] <= hi]
        out.append(sorted(pts))
    return out


def main():
    charts = json.load(open(sys.argv[1]))
    folder = sys.argv[2]
    by_axis = "--axis" in sys.argv
    rows = []
    for mode in ("clicks", "every"):
        try:
            results = json.load(open(f"{folder}/{mode}.json"))
        except FileNotFoundError:
            continue
        scores = []
        for c in charts:
            predicted = [sorted(s) for s in results.get(c["file"], {}).get(mode, [])]
            drawn = drawn_series(c)
            axis_range = None
            if by_axis:
                axis_range = (math.log10(c["yMax"]) - math.log10(c["yMin"])) if c["yLog"] \
                    else c["yMax"] - c["yMin"]
                if c["yLog"]:
                    predicted = [[[x, math.log10(y)] for x, y in s] for s in predicted]
                    drawn = [[[x, math.log10(y)] for x, y in s] for s in drawn]
            score = 100 * chart_score(predicted, drawn, axis_range)
            scores.append(score)
            rows.append((mode, c["file"], len(drawn), len(predicted), score))
        rows.append((mode, "mean", "", "", sum(scores) / len(scores)))
    print("| extraction | chart | drawn | found | score |")
    print("|---|---|---|---|---|")
    for mode, name, nd, npred, score in rows:
        print(f"| {mode} | {name} | {nd} | {npred} | {score:.1f} |")


if __name__ == "__main__":
    main()
