#include "fit/report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/cp932.h"

namespace qf {
namespace {

const std::array<std::string, 6> kFormulas = {"1", " x ", "x*x", "sin(x)", "", "exp( - x)"};

FitResult linearFit() {
    FitResult r;
    r.fitModelKind = Polynomial;
    r.fitCoefCount = 2;
    r.fitNx = 1;
    r.fitNy = 2;
    r.fitCoefs[0] = 0.1;
    r.fitCoefs[1] = 0.95;
    return r;
}

TEST(ModelDescription, RewritesLogarithmicAxes) {
    struct Case {
        int kind, xLog, yLog;
        const char* text;
    } cases[] = {
        {0, 0, 0,
         "<n次多項式> y/Ny = A0+A1*(x/Nx) + A2*pow(x/Nx, 2) + A3*pow(x/Nx, 3) + ... + "
         "An*pow(x/Nx, n)"},
        {0, 1, 0,
         "<n次多項式> y/Ny = A0+A1*(log10(x)/Nx) + A2*pow(log10(x)/Nx, 2) + "
         "A3*pow(log10(x)/Nx, 3) + ... + An*pow(log10(x)/Nx, n)"},
        {0, 1, 1,
         "<n次多項式> log10(y)/Ny = A0+A1*(log10(x)/Nx) + A2*pow(log10(x)/Nx, 2) + "
         "A3*pow(log10(x)/Nx, 3) + ... + An*pow(log10(x)/Nx, n)"},
        // The last term has no "/Nx" and stays as it is.
        {1, 1, 0,
         "<指数関数積> y/Ny = exp(A0) * exp(A1*log10(x)/Nx) * exp(A2*pow(log10(x)/Nx, 2)) * "
         "exp(A3*pow(log10(x)/Nx, 3)) * ... * exp(An*pow(x, n))"},
        {2, 0, 1, "<任意関数 線型和> log10(y)/Ny = A0*f0(x/Nx) + A1*f1(x/Nx) + ... + A5*f5(x/Nx)"},
    };
    for (const Case& c : cases) EXPECT_EQ(modelDescription(c.kind, c.xLog, c.yLog), c.text);
}

TEST(FitReport, PolynomialListsDegreeAndCoefficients) {
    EXPECT_EQ(buildFitReport(linearFit(), kFormulas),
              "\r\n"
              "<n次多項式> y/Ny = A0+A1*(x/Nx) + A2*pow(x/Nx, 2) + A3*pow(x/Nx, 3) + ... + "
              "An*pow(x/Nx, n)\r\n"
              "X 正規化係数 Nx = 1\r\n"
              "Y 正規化係数 Ny = 2\r\n"
              "次数 n = 1\r\n"
              "係数\r\n"
              "  A0 = 0.1\r\n"
              "  A1 = 0.95\r\n");
}

TEST(FitReport, NegativeDegreeShowsItsMagnitude) {
    FitResult r = linearFit();
    r.fitCoefCount = 3;  // degree -2
    r.fitCoefs[2] = 1.5e-5;
    const std::string text = buildFitReport(r, kFormulas);
    EXPECT_NE(text.find("次数 n = 2\r\n係数\r\n"), std::string::npos);
    EXPECT_NE(text.find("  A2 = 1.5E-005\r\n"), std::string::npos);
}

TEST(FitReport, FunctionSumListsFormulasAsTypedAndNoDegree) {
    FitResult r = linearFit();
    r.fitModelKind = FunctionSum;
    r.fitCoefCount = 6;
    const std::string formulas =
        "f0(x) = 1\r\nf1(x) =  x \r\nf2(x) = x*x\r\nf3(x) = sin(x)\r\nf4(x) = \r\n"
        "f5(x) = exp( - x)\r\n";
    const std::string report = buildFitReport(r, kFormulas);
    EXPECT_NE(report.find("Ny = 2\r\n" + formulas + "係数\r\n"), std::string::npos);
    EXPECT_EQ(report.find("次数"), std::string::npos);

    GeneratedGraph g;
    const std::string file = generatedGraphFileText(r, g, kFormulas);
    EXPECT_NE(file.find("Ny = 2\r\n" + formulas + "次数 n = 5\r\n係数\r\n"), std::string::npos);
}

TEST(GeneratedGraphFile, BytesAreTheCodePage932TextWithOneNul) {
    GeneratedGraph g;
    g.generatedCount = 3;
    g.generatedX = {0, 0.5, 1};
    g.generatedY = {0.2, 1.15, 2.1};
    const std::string text = generatedGraphFileText(linearFit(), g, kFormulas);
    EXPECT_EQ(text, buildFitReport(linearFit(), kFormulas) +
                        "No.,X,Y\r\n1,0,0.2\r\n2,0.5,1.15\r\n3,1,2.1\r\n");

    const auto path = std::filesystem::temp_directory_path() / "qf_generated_graph_test.csv";
    ASSERT_TRUE(writeCp932File(path, text).ok);
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    std::filesystem::remove(path);
    const std::string head = "\r\n<n\x8E\x9F\x91\xBD\x8D\x80\x8E\xAE> y/Ny";  // <n次多項式>
    EXPECT_EQ(bytes.substr(0, head.size()), head);
    EXPECT_NE(bytes.find("X \x90\xB3\x8B\x4B\x89\xBB\x8C\x57\x90\x94 Nx = 1\r\n"),
              std::string::npos);  // 正規化係数
    const std::string tail = std::string("3,1,2.1\r\n") + '\0';
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);
}

}  // namespace
}  // namespace qf
