#include "fit/report.h"

#include <algorithm>

#include "common/date_axis.h"
#include "common/format.h"
#include "common/translate.h"

namespace qf {
namespace {

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// What x or y stands for on a date axis, in the files' words or the user's.
std::string originLine(const char* name, double origin, bool translated) {
    const char* text = QT_TRANSLATE_NOOP("qf::Messages", "%1: %2 からの日数");
    return substitute(translated ? translate("qf::Messages", text) : std::string(text),
                      {name, formatIsoDateTime(origin)}) +
           "\r\n";
}

std::string originLines(const FitResult& r, bool translated) {
    std::string text;
    if (r.fitXTime) text += originLine("x", r.fitXOrigin, translated);
    if (r.fitYTime) text += originLine("y", r.fitYOrigin, translated);
    return text;
}

// Lines 1 to 4 of the report: blank line, model, Nx, Ny; after the model, the
// origin of a date axis.
std::string reportHead(const FitResult& r, bool translated = false) {
    return "\r\n" + modelDescription(r.fitModelKind, r.fitXLog, r.fitYLog) + "\r\n" +
           originLines(r, translated) + "X 正規化係数 Nx = " + formatG(r.fitNx) + "\r\n" +
           "Y 正規化係数 Ny = " + formatG(r.fitNy) + "\r\n";
}

std::string formulaLines(const std::array<std::string, kBasisFormulaCount>& basisExpr) {
    std::string text;
    for (int i = 0; i < kBasisFormulaCount; ++i) {
        text += 'f';
        text += formatD(i);
        text += "(x) = ";
        text += basisExpr[i];
        text += "\r\n";
    }
    return text;
}

std::string degreeLine(const FitResult& r) {
    return "次数 n = " + formatD(r.fitCoefCount - 1) + "\r\n";
}

std::string coefficientLines(const FitResult& r) {
    std::string text = "係数\r\n";
    for (int k = 0; k < r.fitCoefCount && k < static_cast<int>(r.fitCoefs.size()); ++k)
        text += "  A" + formatD(k) + " = " + formatG(r.fitCoefs[k]) + "\r\n";
    return text;
}

}  // namespace

std::string modelDescription(int32_t modelKind, bool xLog, bool yLog) {
    std::string text;
    switch (modelKind) {
        case Polynomial:
            text =
                "<n次多項式> y/Ny = A0+A1*(x/Nx) + A2*pow(x/Nx, 2) + A3*pow(x/Nx, 3) + ... + "
                "An*pow(x/Nx, n)";
            break;
        case ExponentialProduct:
            text =
                "<指数関数積> y/Ny = exp(A0) * exp(A1*x/Nx) * exp(A2*pow(x/Nx, 2)) * "
                "exp(A3*pow(x/Nx, 3)) * ... * exp(An*pow(x, n))";
            break;
        case FunctionSum:
            text = "<任意関数 線型和> y/Ny = A0*f0(x/Nx) + A1*f1(x/Nx) + ... + A5*f5(x/Nx)";
            break;
        default:
            return text;
    }
    if (xLog) replaceAll(text, "x/Nx", "log10(x)/Nx");
    if (yLog) replaceAll(text, "y/Ny", "log10(y)/Ny");
    return text;
}

std::string buildFitReport(const FitResult& result,
                           const std::array<std::string, kBasisFormulaCount>& basisExpr) {
    std::string text = reportHead(result);
    text += result.fitModelKind == FunctionSum ? formulaLines(basisExpr) : degreeLine(result);
    return text + coefficientLines(result);
}

std::string fitReportForPage(const FitResult& result,
                             const std::array<std::string, kBasisFormulaCount>& basisExpr) {
    // The line heads that are words; the rest is formulas and numbers.
    static const char* const kHeads[] = {
        QT_TRANSLATE_NOOP("qf::Messages", "<n次多項式>"),
        QT_TRANSLATE_NOOP("qf::Messages", "<指数関数積>"),
        QT_TRANSLATE_NOOP("qf::Messages", "<任意関数 線型和>"),
        QT_TRANSLATE_NOOP("qf::Messages", "X 正規化係数 Nx"),
        QT_TRANSLATE_NOOP("qf::Messages", "Y 正規化係数 Ny"),
        QT_TRANSLATE_NOOP("qf::Messages", "次数 n"),
        QT_TRANSLATE_NOOP("qf::Messages", "係数\r\n"),
    };
    std::string text = buildFitReport(result, basisExpr);
    if (result.fitXTime || result.fitYTime) {
        const std::size_t at = text.find(originLines(result, false));
        text.replace(at, originLines(result, false).size(), originLines(result, true));
    }
    std::string out;
    for (std::size_t from = 0; from < text.size();) {
        std::size_t end = text.find("\r\n", from);
        end = end == std::string::npos ? text.size() : end + 2;
        std::string line = text.substr(from, end - from);
        for (const char* head : kHeads) {
            const std::size_t n = std::char_traits<char>::length(head);
            if (line.compare(0, n, head) == 0) {
                line = translate("qf::Messages", head) + line.substr(n);
                break;
            }
        }
        out += line;
        from = end;
    }
    return out;
}

std::string generatedGraphFileText(const FitResult& result, const GeneratedGraph& graph,
                                   const std::array<std::string, kBasisFormulaCount>& basisExpr) {
    std::string text = reportHead(result);
    if (result.fitModelKind == FunctionSum) text += formulaLines(basisExpr);
    text += degreeLine(result) + coefficientLines(result) + "No.,X,Y\r\n";
    const auto rows =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(0, graph.generatedCount)),
                              std::min(graph.generatedX.size(), graph.generatedY.size()));
    for (std::size_t l = 0; l < rows; ++l)
        text += formatD(static_cast<long long>(l) + 1) + "," +
                formatAxisValue(graph.generatedX[l], graph.xTime) + "," +
                formatAxisValue(graph.generatedY[l], graph.yTime) + "\r\n";
    return text;
}

}  // namespace qf
