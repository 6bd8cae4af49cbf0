#include "fit/fit_driver.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "common/date_axis.h"
#include "common/format.h"
#include "common/translate.h"
#include "expr/expr.h"
#include "fit/models.h"
#include "fit/readable_results.h"

namespace qf {
namespace {

// log10 as ln v / ln 10, with the floor used for non-positive bounds.
double logBound(double v) {
    return v > 1e-24 ? std::log(v) / std::log(10.0) : -24.0;
}

struct Validation {
    std::string text;
    int count = 0;
    void check(bool failed, const std::string& message) {
        if (!failed) return;
        ++count;
        text += substitute(translate("qf::Messages", "<エラー %1> "), {std::to_string(count)}) +
                message;
    }
};

std::string formulaProgram(const FitSettings& s) {
    std::string program;
    for (const std::string& f : s.basisExpr) program += f + ";\r\n";
    return program;
}

FitOutcome& solverFailed(FitOutcome& out, const SvdFitWork& work) {
    const std::string text =
        translate("qf::Messages", "最小2乗法\u3000実行エラー\r\n") + work.errorText + "\r\n";
    out.events.push_back({FitEventKind::MessageBox, text});
    out.events.push_back({FitEventKind::SetOutputText, text});
    out.status = FitSolverFailed;
    return out;
}

// The first coefficient of the formula in the axes' units that is not finite, as
// the reason of a solver error; empty when all are finite.
std::string nonFinitePlainCoefficient(const FitResult& fitted, int degree) {
    const PlainFormula plain = plainFormulaOf(fitted, degree);
    for (std::size_t k = 0; k < plain.coefs.size(); ++k)
        if (!std::isfinite(plain.coefs[k]))
            return "coefficient c" + std::to_string(k) + " of the formula in the axes' units is " +
                   formatG(plain.coefs[k]) + ": the values are too large for a double";
    return {};
}

std::string nonFiniteGeneratedPoint(const GeneratedGraph& graph, int32_t count) {
    for (int32_t l = 0; l < count; ++l) {
        const double x = graph.generatedX[std::size_t(l)];
        const double y = graph.generatedY[std::size_t(l)];
        if (!std::isfinite(x) || !std::isfinite(y))
            return "generated point " + std::to_string(l + 1) + " of " + std::to_string(count) +
                   " is not finite (X = " + formatG(x) + ", Y = " + formatG(y) +
                   "): the values are too large for a double";
    }
    return {};
}

}  // namespace

void normaliseFitData(SvdFitWork& work, int n, double& nx, double& ny) {
    nx = 1.0;
    ny = 1.0;
    for (int i = 1; i <= n; ++i) {
        nx = std::max(nx, std::fabs(work.xData[i]));
        ny = std::max(ny, std::fabs(work.yData[i]));
    }
    if (nx > 1.0)
        for (int i = 1; i <= n; ++i) work.xData[i] /= nx;
    if (ny > 1.0)
        for (int i = 1; i <= n; ++i) work.yData[i] /= ny;
}

FitOutcome runFit(const FitInput& in, SvdFitWork& work, FitResult& result, GeneratedGraph& graph) {
    FitOutcome out;
    out.events.push_back({FitEventKind::SetOutputText, ""});

    const int n = in.pointCount;
    if (!in.imagePresent || n <= 0 || n > kMaxFitPoints || in.points == nullptr) {
        out.status = FitNotRun;
        return out;
    }
    out.modesCleared = true;

    const FitSettings& fs = in.settings;
    // A date axis is fitted in days since its minimum: seconds since the epoch
    // would make every power of x huge and the coefficients meaningless.
    AxisSettings ax = in.axis;
    if (ax.xTime) ax.xMin = 0.0, ax.xMax = (in.axis.xMax - in.axis.xMin) / kSecondsPerDay;
    if (ax.yTime) ax.yMin = 0.0, ax.yMax = (in.axis.yMax - in.axis.yMin) / kSecondsPerDay;
    const double e = logBound(ax.xMin);
    const double f = logBound(ax.xMax);
    const double g = logBound(ax.yMin);
    const double h = logBound(ax.yMax);

    const int32_t count = fs.graphPointCount;
    graph.generatedCount = 0;

    // Pixel distances are integer; everything else is double.
    const IntRect& r = ax.axisRect;
    const double width = r.right - r.left;
    const double height = r.bottom - r.top;
    for (int i = 1; i <= n; ++i) {
        const SourcePoint& p = in.points[i - 1];
        const double fx = (p.h - r.left) / width;
        const double fy = (r.bottom - p.v) / height;
        work.xData[i] = ax.xLog ? fx * (f - e) + e : fx * (ax.xMax - ax.xMin) + ax.xMin;
        if (fs.modelKind == ExponentialProduct) {
            const double w = fy * (ax.yMax - ax.yMin) + ax.yMin;
            work.yData[i] = w > 1e-24 ? std::log(w) : -24.0;
        } else {
            work.yData[i] = ax.yLog ? fy * (h - g) + g : fy * (ax.yMax - ax.yMin) + ax.yMin;
        }
    }

    double nx = 1.0, ny = 1.0;
    normaliseFitData(work, n, nx, ny);

    Validation v;
    v.check(count < 2, translate("qf::Messages", "グラフ作製データ数？ ( >2 )        \r\n"));
    v.check(ax.xLog && (ax.xMin <= 0 || ax.xMax <= 0),
            translate("qf::Messages", "LogX軸: Xmin, Xmax が0以下です        \r\n"));
    v.check(ax.yLog && (ax.yMin <= 0 || ax.yMax <= 0),
            translate("qf::Messages", "LogY軸: Ymin, Ymax が0以下です        \r\n"));
    v.check(fs.modelKind == ExponentialProduct && ax.yLog,
            translate("qf::Messages",
                      "指数関数積 y=exp(A0)*exp(A1*x)*... 選択時、Y軸対数 不可です        \r\n"));
    // The compiler keeps only the first kExprSourceTaken bytes; a cut program
    // would silently lose the formulas after the cut.
    const std::string program = fs.modelKind == FunctionSum ? formulaProgram(fs) : "";
    v.check(
        program.size() > static_cast<std::size_t>(kExprSourceTaken),
        translate(
            "qf::Messages",
            "任意関数 f0(x)～f5(x) の式が長すぎます ( 区切りを含め 2045 バイトまで )        \r\n"));
    if (v.count > 0) {
        out.events.push_back({FitEventKind::MessageBox, v.text});
        out.events.push_back({FitEventKind::SetOutputText, v.text});
        out.status = FitRejected;
        return out;
    }

    BasisFunction basis;
    int m;
    const int degree = std::clamp(fs.degree, kMinDegree, kMaxDegree);
    if (fs.modelKind == FunctionSum) {
        loadExprSource(program);
        compileProgram();
        const ExprContext& ctx = exprContext();
        if (ctx.errorCount != 0) {
            const std::string text = translate("qf::Messages", "インタープリタ エラー\r\n\r\n") +
                                     std::string(ctx.message.view());
            out.events.push_back({FitEventKind::SetOutputText, text});
            out.events.push_back({FitEventKind::MessageBox, text});
            out.status = FitRejected;
            return out;
        }
        // Without a single statement every coefficient would be a meaningless 0.
        Validation none;
        none.check(ctx.statementCounter == 1,
                   translate("qf::Messages", "任意関数 f0(x)～f5(x) に式がありません        \r\n"));
        if (none.count > 0) {
            out.events.push_back({FitEventKind::MessageBox, none.text});
            out.events.push_back({FitEventKind::SetOutputText, none.text});
            out.status = FitRejected;
            return out;
        }
        basis = expressionBasis;
        m = kBasisFormulaCount;
    } else {
        basis = degree >= 0 ? polynomialBasis : inversePowerBasis;
        m = degree >= 0 ? degree + 1 : 1 - degree;
    }

    // Every point carries the same weight, so its size does not change the
    // coefficients: a unit weight, where |Ymax - Ymin| / 500 would divide the
    // design matrix by zero (Ymin = Ymax) or scale it below the smallest
    // double (spans of 1e170 and more).
    for (int i = 1; i <= n; ++i) work.sigma[i] = 1.0;

    work.errorText.clear();
    work.errorCount = 0;
    if (!std::isfinite(nx) || !std::isfinite(ny))
        addSolverError(work, "non-finite normalisation factors (Nx = " + formatG(nx) +
                                 ", Ny = " + formatG(ny) + ")");
    else
        svdFit(work, n, m, basis);
    if (work.errorCount != 0) return solverFailed(out, work);

    FitResult fitted;
    fitted.fitModelKind = fs.modelKind;
    fitted.fitCoefCount = m;
    fitted.fitXLog = ax.xLog;
    fitted.fitYLog = ax.yLog;
    fitted.fitXTime = ax.xTime;
    fitted.fitYTime = ax.yTime;
    fitted.fitXOrigin = ax.xTime ? in.axis.xMin : 0.0;
    fitted.fitYOrigin = ax.yTime ? in.axis.yMin : 0.0;
    fitted.fitNx = nx;
    fitted.fitNy = ny;
    for (int k = 1; k <= m; ++k) fitted.fitCoefs[k - 1] = work.coef[k];
    // Normalised coefficients can be finite while the formula in the axes'
    // units overflows (values near the largest double): no usable fit.
    if (const std::string why = nonFinitePlainCoefficient(fitted, degree); !why.empty()) {
        addSolverError(work, why);
        return solverFailed(out, work);
    }

    std::vector<double>().swap(graph.generatedX);
    std::vector<double>().swap(graph.generatedY);
    try {
        graph.generatedX.resize(static_cast<std::size_t>(count));
        graph.generatedY.resize(static_cast<std::size_t>(count));
    } catch (const std::bad_alloc&) {
        std::vector<double>().swap(graph.generatedX);
        std::vector<double>().swap(graph.generatedY);
        out.status = FitSolverFailed;
        return out;
    }

    const double* a = work.coef.data();
    double* phi = work.phiEval.data();
    const double span = count - 1;
    for (int32_t l = 0; l < count; ++l) {
        double x, u;
        if (ax.xLog) {
            const double t = (f - e) * l / span + e;
            x = std::pow(10.0, t);
            u = t / nx;
        } else {
            x = (ax.xMax - ax.xMin) * l / span + ax.xMin;
            u = x / nx;
        }
        basis(u, phi, m);
        double y;
        if (fs.modelKind == ExponentialProduct) {
            y = std::exp(ny * a[1]);
            for (int k = 2; k <= m; ++k) y *= std::exp(phi[k] * a[k] * ny);
        } else {
            double s = 0.0;
            for (int k = 1; k <= m; ++k) s += a[k] * phi[k];
            y = ax.yLog ? std::pow(10.0, s * ny) : s * ny;
        }
        graph.generatedX[l] = ax.xTime ? in.axis.xMin + x * kSecondsPerDay : x;
        graph.generatedY[l] = ax.yTime ? in.axis.yMin + y * kSecondsPerDay : y;
    }
    graph.xTime = ax.xTime;
    graph.yTime = ax.yTime;
    // The curve itself can overflow where its formula does not (the
    // exponential product's exp of a large sum): a graph with infinite points
    // is no result either.
    if (const std::string why = nonFiniteGeneratedPoint(graph, count); !why.empty()) {
        std::vector<double>().swap(graph.generatedX);
        std::vector<double>().swap(graph.generatedY);
        addSolverError(work, why);
        return solverFailed(out, work);
    }
    graph.generatedCount = count;

    result = fitted;
    out.status = FitOk;
    return out;
}

}  // namespace qf
