#include "fit/readable_results.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/format.h"
#include "common/translate.h"
#include "expr/expr.h"
#include "fit/models.h"

namespace qf {
namespace {

BasisFunction basisOf(int32_t modelKind, int32_t degree) {
    if (modelKind == FunctionSum) return expressionBasis;
    return degree >= 0 ? polynomialBasis : inversePowerBasis;
}

// log10 as the fit takes it.
double log10Of(double v) {
    return std::log(v) / std::log(10.0);
}

// The term list "c0 + c1*X^1 - c2*X^2 ...", each term written by `term`.
template <typename Term>
std::string sumOf(const std::vector<double>& coefs, Term term) {
    std::string text;
    for (std::size_t k = 0; k < coefs.size(); ++k) {
        const double c = coefs[k];
        const bool minus = std::signbit(c) && k > 0;
        if (k > 0) text += minus ? " - " : " + ";
        text += term(k, fullPrecision(minus ? -c : c));
    }
    return text;
}

struct Notation {
    std::string x;      // the abscissa as the fit takes it
    const char* power;  // "^" or "**"
    const char* exp;    // e^(...)
    const char* tenTo;  // 10^(...)
};

std::string powerSum(const PlainFormula& f, const Notation& n) {
    return sumOf(f.coefs, [&](std::size_t k, const std::string& c) {
        const int32_t p = f.powers[k];
        if (p == 0) return c;
        if (p == 1) return c + "*" + n.x;
        const std::string e = p < 0 ? "(" + std::to_string(p) + ")" : std::to_string(p);
        return c + "*" + n.x + n.power + e;
    });
}

// "y = body" with the body's space undone.
std::string assigned(const PlainFormula& f, const std::string& body, const Notation& n,
                     const std::string& lhs) {
    if (f.modelKind == ExponentialProduct) return lhs + n.exp + "(" + body + ")";
    if (f.yLog) return lhs + n.tenTo + "(" + body + ")";
    return lhs + body;
}

std::string fittedSpaceName(const FitResult& r) {
    if (r.fitModelKind == ExponentialProduct) return "ln(y)";
    return r.fitYLog ? "log10(y)" : "y";
}

}  // namespace

std::string fullPrecision(double v) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

FitDetails fitDetailsOf(const FitInput& in, const FitResult& result, const SvdFitWork& work) {
    FitDetails d;
    const int n = in.pointCount;
    const int m = result.fitCoefCount;
    d.degree = std::clamp(in.settings.degree, kMinDegree, kMaxDegree);
    d.pointCount = n;
    d.coefCount = m;
    for (int k = 1; k <= m; ++k)
        if (work.wValues[std::size_t(k)] != 0.0) ++d.rank;
    d.points.assign(in.points, in.points + n);
    d.axis = in.axis;

    const BasisFunction basis = basisOf(result.fitModelKind, d.degree);
    double phi[kSvdMaxCoefs + 1] = {};
    const double ny = result.fitNy;
    double mean = 0.0;
    for (int i = 1; i <= n; ++i) {
        basis(work.xData[std::size_t(i)], phi, m);
        double s = 0.0;
        for (int k = 1; k <= m; ++k) s += result.fitCoefs[std::size_t(k - 1)] * phi[k];
        const double observed = work.yData[std::size_t(i)] * ny;
        d.observed.push_back(observed);
        d.residuals.push_back(observed - s * ny);
        mean += observed;
    }
    mean /= std::max(n, 1);
    double ssRes = 0.0, ssTot = 0.0;
    for (int i = 0; i < n; ++i) {
        const double r = d.residuals[std::size_t(i)];
        ssRes += r * r;
        ssTot += (d.observed[std::size_t(i)] - mean) * (d.observed[std::size_t(i)] - mean);
        if (std::fabs(r) > std::fabs(d.maxResidual) || d.maxResidualPoint == 0) {
            d.maxResidual = r;
            d.maxResidualPoint = i + 1;
        }
    }
    d.r2 = ssTot > 0.0 ? 1.0 - ssRes / ssTot : NAN;
    d.rmse = n > 0 ? std::sqrt(ssRes / n) : 0.0;
    return d;
}

bool detailsMatch(const FitDetails& d, const std::vector<SourcePoint>& points,
                  const AxisSettings& axis) {
    return d.pointCount > 0 && d.points == points && d.axis == axis;
}

PlainFormula plainFormulaOf(const FitResult& r, int32_t degree) {
    PlainFormula f;
    f.modelKind = r.fitModelKind;
    f.xLog = r.fitXLog;
    f.yLog = r.fitYLog;
    f.nx = r.fitNx;
    for (int k = 0; k < r.fitCoefCount; ++k) {
        const double a = r.fitCoefs[std::size_t(k)] * r.fitNy;
        if (f.modelKind == FunctionSum) {
            f.coefs.push_back(a);
            continue;
        }
        // A[k] u^p with u = X / Nx is A[k] / Nx^p X^p.
        const int32_t p = degree >= 0 ? k : -k;
        f.powers.push_back(p);
        f.coefs.push_back(a / std::pow(r.fitNx, p));
    }
    return f;
}

double evaluatePlainFormula(const PlainFormula& f, double x) {
    const double big = f.xLog ? log10Of(x) : x;
    double sum = 0.0;
    if (f.modelKind == FunctionSum) {
        double phi[kSvdMaxCoefs + 1] = {};
        const int m = int(f.coefs.size());
        expressionBasis(big / f.nx, phi, m);
        for (int k = 0; k < m; ++k) sum += f.coefs[std::size_t(k)] * phi[k + 1];
    } else {
        for (std::size_t k = 0; k < f.coefs.size(); ++k)
            sum += f.coefs[k] * std::pow(big, f.powers[k]);
    }
    if (f.modelKind == ExponentialProduct) return std::exp(sum);
    return f.yLog ? std::pow(10.0, sum) : sum;
}

std::string formulaText(const PlainFormula& f) {
    const Notation n{f.xLog ? "log10(x)" : "x", "^", "", ""};
    const char* lhs = f.modelKind == ExponentialProduct ? "ln(y) = "
                      : f.yLog                          ? "log10(y) = "
                                                        : "y = ";
    if (f.modelKind == FunctionSum) {
        const std::string u = f.nx == 1.0 ? n.x : n.x + " / " + fullPrecision(f.nx);
        return lhs +
               sumOf(f.coefs,
                     [](std::size_t k, const std::string& c) {
                         return c + "*f" + std::to_string(k) + "(u)";
                     }) +
               ",  u = " + u;
    }
    return lhs + powerSum(f, n);
}

std::string pythonText(const PlainFormula& f) {
    if (f.modelKind == FunctionSum) return "";
    const Notation n{f.xLog ? "math.log10(x)" : "x", "**", "math.exp", "10 ** "};
    return assigned(f, powerSum(f, n), n, "y = ");
}

std::string spreadsheetText(const PlainFormula& f) {
    if (f.modelKind == FunctionSum) return "";
    const Notation n{f.xLog ? "LOG10(A1)" : "A1", "^", "EXP", "10^"};
    return assigned(f, powerSum(f, n), n, "=");
}

FormulaForms formulaFormsOf(const FitResult& result, const FitDetails& details) {
    const PlainFormula f = plainFormulaOf(result, details.degree);
    return {formulaText(f), pythonText(f), spreadsheetText(f)};
}

std::string readableResultsText(const FitResult& r, const FitDetails& d) {
    const PlainFormula f = plainFormulaOf(r, d.degree);
    std::string t = "\r\n--------------------------------\r\n";
    t += translate("qf::Messages", "元の単位の式 (正規化を戻した係数)\r\n");
    t += "  " + formulaText(f) + "\r\n";
    if (f.modelKind == FunctionSum) {
        t += translate("qf::Messages", "  f0 ... f5 は上の式。Python や表計算の形にはしません\r\n");
    } else {
        t += "Python (import math)\r\n  " + pythonText(f) + "\r\n";
        t += translate("qf::Messages", "表計算 (x はセル A1)\r\n") + "  " + spreadsheetText(f) +
             "\r\n";
        if (r.fitModelKind == Polynomial || r.fitModelKind == ExponentialProduct) {
            if (d.degree < 0)
                t += substitute(
                    translate("qf::Messages",
                              "  (x = %1 では逆べきの代わりに 1E+024 を使って曲線を生成して"
                              "います)\r\n"),
                    {f.xLog ? "1" : "0"});
        }
    }
    t += translate("qf::Messages", "係数\r\n");
    for (std::size_t k = 0; k < f.coefs.size(); ++k) {
        t += "  c" + std::to_string(k) + " = " + fullPrecision(f.coefs[k]);
        if (f.modelKind != FunctionSum)
            t +=
                substitute(translate("qf::Messages", "  (べき %1)"), {std::to_string(f.powers[k])});
        t += "\r\n";
    }
    t += substitute(translate("qf::Messages", "当てはまり (%1 で計算)\r\n"), {fittedSpaceName(r)});
    t += "  R² = " +
         (std::isnan(d.r2) ? translate("qf::Messages", "- (すべての点が同じ値)") : formatG(d.r2)) +
         "\r\n";
    t += "  RMSE = " + formatG(d.rmse) + "\r\n";
    t += substitute(translate("qf::Messages", "  最大残差 = %1 (点 %2)\r\n"),
                    {formatG(d.maxResidual), formatD(d.maxResidualPoint)});
    t += substitute(translate("qf::Messages", "  点の数 = %1、係数の数 = %2"),
                    {formatD(d.pointCount), formatD(d.coefCount)});
    if (d.rank < d.coefCount)
        t += substitute(translate("qf::Messages", "、ランク = %1 (特異値 %2 個を 0 としました)"),
                        {formatD(d.rank), formatD(d.coefCount - d.rank)});
    t += "\r\n";
    t += translate("qf::Messages", "点ごとの残差 (観測値 - 式)\r\n");
    t += translate("qf::Messages", "  No.,残差\r\n");
    for (std::size_t i = 0; i < d.residuals.size(); ++i)
        t += "  " + formatD(static_cast<long long>(i) + 1) + "," + formatG(d.residuals[i]) + "\r\n";
    return t;
}

}  // namespace qf
