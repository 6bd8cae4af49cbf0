#include "fit/svd.h"

#include <algorithm>
#include <cmath>

namespace qf {
namespace {

// Singular values below this fraction of the largest one are treated as zero.
constexpr double kRelativeCutoff = 1e-6;
constexpr int kMaxIterations = 30;
constexpr std::string_view kNoConvergence = "no convergence in 30 svdcmp iterations";
constexpr std::string_view kNotFinite = "non-finite coefficients (NaN or infinite input)";
constexpr std::string_view kTooLarge = "more than 128 points or 32 coefficients";

using CoefArray = std::array<double, kSvdMaxCoefs + 1>;

// |magnitude| with the sign of s; zero counts as positive.
inline double withSignOf(double magnitude, double s) {
    return s >= 0.0 ? std::fabs(magnitude) : -std::fabs(magnitude);
}

// x does not change the norm of the bidiagonal when added to it.
inline bool negligible(double x, double anorm) {
    return std::fabs(x) + anorm == anorm;
}

// (x, y) <- (x c + y s, y c - x s) elementwise over [1, count]: one plane
// rotation of two columns of U or V, held as contiguous rows.
void rotatePair(double* __restrict x, double* __restrict y, int count, double c, double s) {
    for (int r = 1; r <= count; ++r) {
        const double xr = x[r];
        const double yr = y[r];
        x[r] = xr * c + yr * s;
        y[r] = yr * c - xr * s;
    }
}

// The work arrays hold at most kSvdMaxPoints rows and kSvdMaxCoefs columns;
// anything larger is refused rather than written past their ends.
bool fitsWork(SvdFitWork& work, int rows, int cols) {
    if (rows <= kSvdMaxPoints && cols <= kSvdMaxCoefs) return true;
    addSolverError(work, kTooLarge);
    return false;
}

class Decomposition {
public:
    Decomposition(SvdFitWork& work, int m, int n)
        : a_(work.uMatrix.data()),
          v_(work.vMatrix.data()),
          w_(work.wValues.data()),
          rv1_(work.rv1.data()),
          work_(work),
          m_(m),
          n_(n) {}

    void run() {
        bidiagonalise();
        accumulateRight();
        accumulateLeft();
        // The QR steps rotate pairs of columns of U and V; on transposed
        // copies every rotation runs over two contiguous rows.
        transposeForSweeps();
        for (int k = n_; k >= 1; --k) diagonalise(k);
        transposeBack();
    }

private:
    double* arow(int i) { return a_ + i * kSvdRow; }
    double* vrow(int i) { return v_ + i * kSvdRow; }
    double& a(int i, int j) { return a_[i * kSvdRow + j]; }
    double& v(int i, int j) { return v_[i * kSvdRow + j]; }

    // dot[j] += a[k][col] * a[k][j] for rows k = first..m, columns j = l..n,
    // added in row order. Four rows per pass cut the traffic on dot.
    void columnDots(int col, int first, int l, double* dot) {
        int k = first;
        for (; k + 3 <= m_; k += 4) {
            const double* r0 = arow(k);
            const double* r1 = r0 + kSvdRow;
            const double* r2 = r1 + kSvdRow;
            const double* r3 = r2 + kSvdRow;
            const double a0 = r0[col];
            const double a1 = r1[col];
            const double a2 = r2[col];
            const double a3 = r3[col];
            for (int j = l; j <= n_; ++j)
                dot[j] = dot[j] + a0 * r0[j] + a1 * r1[j] + a2 * r2[j] + a3 * r3[j];
        }
        for (; k <= m_; ++k) {
            const double* rk = arow(k);
            const double ak = rk[col];
            for (int j = l; j <= n_; ++j) dot[j] += ak * rk[j];
        }
    }

    // a[k][j] += coef[j] * a[k][col] for rows k = first..m, columns j = l..n.
    void rankOneUpdate(int col, int first, int l, const double* coef) {
        int k = first;
        for (; k < m_; k += 2) {
            double* r0 = arow(k);
            double* r1 = r0 + kSvdRow;
            const double a0 = r0[col];
            const double a1 = r1[col];
            for (int j = l; j <= n_; ++j) {
                r0[j] += coef[j] * a0;
                r1[j] += coef[j] * a1;
            }
        }
        if (k == m_) {
            double* rk = arow(k);
            const double ak = rk[col];
            for (int j = l; j <= n_; ++j) rk[j] += coef[j] * ak;
        }
    }

    // Householder reflections from the left (columns) and right (rows) leave
    // w on the diagonal and rv1 on the super-diagonal. Each reflection vector
    // is scaled by its 1-norm first so that the sum of squares cannot
    // overflow or underflow; the reflectors stay in place for accumulation.
    void bidiagonalise() {
        rv1_[1] = 0.0;
        for (int i = 1; i <= n_; ++i) {
            const int l = i + 1;
            double g = 0.0;
            double scale = 0.0;
            if (i <= m_) {
                for (int k = i; k <= m_; ++k) scale += std::fabs(a(k, i));
                if (scale != 0.0) g = reflectColumn(i, l, scale);
            }
            w_[i] = scale * g;
            g = 0.0;
            scale = 0.0;
            if (i <= m_ && i != n_) {
                for (int k = l; k <= n_; ++k) scale += std::fabs(a(i, k));
                if (scale != 0.0) g = reflectRow(i, l, scale);
            }
            if (i < n_) rv1_[l] = scale * g;
            anorm_ = std::max(anorm_, std::fabs(w_[i]) + std::fabs(rv1_[i]));
        }
    }

    // Annihilates a[i+1..m][i] and applies the reflection to columns l..n.
    double reflectColumn(int i, int l, double scale) {
        double s = 0.0;
        for (int k = i; k <= m_; ++k) {
            a(k, i) /= scale;
            s += a(k, i) * a(k, i);
        }
        const double f = a(i, i);
        const double g = -withSignOf(std::sqrt(s), f);
        const double h = f * g - s;
        a(i, i) = f - g;
        CoefArray dot{};
        columnDots(i, i, l, dot.data());
        for (int j = l; j <= n_; ++j) dot[j] /= h;
        rankOneUpdate(i, i, l, dot.data());
        for (int k = i; k <= m_; ++k) a(k, i) *= scale;
        return g;
    }

    // Annihilates a[i][l+1..n] and applies the reflection to rows l..m.
    double reflectRow(int i, int l, double scale) {
        double* ri = arow(i);
        double s = 0.0;
        for (int k = l; k <= n_; ++k) {
            ri[k] /= scale;
            s += ri[k] * ri[k];
        }
        const double f = ri[l];
        const double g = -withSignOf(std::sqrt(s), f);
        const double h = f * g - s;
        ri[l] = f - g;
        for (int k = l; k <= n_; ++k) rv1_[k] = ri[k] / h;
        // Four rows per pass: independent sums keep the adder busy, and each
        // sum still runs in column order.
        int j = l;
        for (; j + 3 <= m_; j += 4) {
            double* r0 = arow(j);
            double* r1 = r0 + kSvdRow;
            double* r2 = r1 + kSvdRow;
            double* r3 = r2 + kSvdRow;
            double d0 = 0.0;
            double d1 = 0.0;
            double d2 = 0.0;
            double d3 = 0.0;
            for (int k = l; k <= n_; ++k) {
                d0 += r0[k] * ri[k];
                d1 += r1[k] * ri[k];
                d2 += r2[k] * ri[k];
                d3 += r3[k] * ri[k];
            }
            for (int k = l; k <= n_; ++k) {
                r0[k] += d0 * rv1_[k];
                r1[k] += d1 * rv1_[k];
                r2[k] += d2 * rv1_[k];
                r3[k] += d3 * rv1_[k];
            }
        }
        for (; j <= m_; ++j) {
            double* rj = arow(j);
            double d = 0.0;
            for (int k = l; k <= n_; ++k) d += rj[k] * ri[k];
            for (int k = l; k <= n_; ++k) rj[k] += d * rv1_[k];
        }
        for (int k = l; k <= n_; ++k) ri[k] *= scale;
        return g;
    }

    // V = product of the right reflections, built from the last one back.
    void accumulateRight() {
        for (int i = n_; i >= 1; --i) {
            const int l = i + 1;
            if (i < n_) {
                const double g = rv1_[l];
                if (g != 0.0) {
                    const double* ri = arow(i);
                    // Two divisions: the product ri[l] * g could underflow.
                    for (int j = l; j <= n_; ++j) v(j, i) = (ri[j] / ri[l]) / g;
                    CoefArray dot{};
                    for (int k = l; k <= n_; ++k) {
                        const double* vk = vrow(k);
                        const double aik = ri[k];
                        for (int j = l; j <= n_; ++j) dot[j] += aik * vk[j];
                    }
                    for (int k = l; k <= n_; ++k) {
                        double* vk = vrow(k);
                        const double vki = vk[i];
                        for (int j = l; j <= n_; ++j) vk[j] += dot[j] * vki;
                    }
                }
                for (int j = l; j <= n_; ++j) v(i, j) = v(j, i) = 0.0;
            }
            v(i, i) = 1.0;
        }
    }

    // U = product of the left reflections, written over the reflectors.
    void accumulateLeft() {
        for (int i = std::min(m_, n_); i >= 1; --i) {
            const int l = i + 1;
            double* ri = arow(i);
            for (int j = l; j <= n_; ++j) ri[j] = 0.0;
            if (w_[i] != 0.0) {
                const double g = 1.0 / w_[i];
                CoefArray dot{};
                columnDots(i, l, l, dot.data());
                const double aii = ri[i];
                for (int j = l; j <= n_; ++j) dot[j] = (dot[j] / aii) * g;
                rankOneUpdate(i, i, l, dot.data());
                for (int k = i; k <= m_; ++k) a(k, i) *= g;
            } else {
                for (int k = i; k <= m_; ++k) a(k, i) = 0.0;
            }
            ri[i] += 1.0;
        }
    }

    double* ucol(int j) { return ut_.data() + j * kSvdRow; }
    double* vcol(int j) { return v_ + j * kSvdRow; }

    void transposeForSweeps() {
        for (int i = 1; i <= m_; ++i) {
            const double* ri = arow(i);
            for (int j = 1; j <= n_; ++j) ucol(j)[i] = ri[j];
        }
        for (int i = 1; i <= n_; ++i)
            for (int j = i + 1; j <= n_; ++j) std::swap(v(i, j), v(j, i));
    }

    void transposeBack() {
        for (int i = 1; i <= m_; ++i) {
            double* ri = arow(i);
            for (int j = 1; j <= n_; ++j) ri[j] = ucol(j)[i];
        }
        for (int i = 1; i <= n_; ++i)
            for (int j = i + 1; j <= n_; ++j) std::swap(v(i, j), v(j, i));
    }

    // Implicitly shifted QR steps on the bidiagonal block ending at k until
    // rv1[k] is negligible, at most kMaxIterations times.
    void diagonalise(int k) {
        for (int its = 1; its <= kMaxIterations; ++its) {
            // rv1[1] is zero by construction, so the search always stops at
            // l = 1; testing that explicitly also keeps NaN data in bounds.
            int l = k;
            bool cancel = false;
            for (; l > 1; --l) {
                if (negligible(rv1_[l], anorm_)) break;
                if (negligible(w_[l - 1], anorm_)) {
                    cancel = true;
                    break;
                }
            }
            if (cancel) cancelSuperDiagonal(l, k);
            const double z = w_[k];
            if (l == k) {
                if (z < 0.0) {
                    w_[k] = -z;
                    double* vk = vcol(k);
                    for (int j = 1; j <= n_; ++j) vk[j] = -vk[j];
                }
                return;
            }
            if (its == kMaxIterations) addSolverError(work_, kNoConvergence);
            chaseBulge(l, k);
        }
    }

    // w[l-1] is negligible: rotate rv1[l..k] away against the rows of w.
    void cancelSuperDiagonal(int l, int k) {
        const int nm = l - 1;
        double c = 0.0;
        double s = 1.0;
        for (int i = l; i <= k; ++i) {
            const double f = s * rv1_[i];
            rv1_[i] = c * rv1_[i];
            if (negligible(f, anorm_)) break;
            const double g = w_[i];
            double h = hypot2(f, g);
            w_[i] = h;
            h = 1.0 / h;
            c = g * h;
            s = -f * h;
            rotatePair(ucol(nm), ucol(i), m_, c, s);
        }
    }

    // One QR step with the shift from the trailing 2 x 2 block, chasing the
    // bulge from l down to k.
    void chaseBulge(int l, int k) {
        const int nm = k - 1;
        double x = w_[l];
        double y = w_[nm];
        double z = w_[k];
        double g = rv1_[nm];
        double h = rv1_[k];
        double f = ((y - z) * (y + z) + (g - h) * (g + h)) / (2.0 * h * y);
        g = hypot2(f, 1.0);
        f = ((x - z) * (x + z) + h * ((y / (f + withSignOf(g, f))) - h)) / x;
        double c = 1.0;
        double s = 1.0;
        for (int j = l; j <= nm; ++j) {
            const int i = j + 1;
            g = rv1_[i];
            y = w_[i];
            h = s * g;
            g = c * g;
            z = hypot2(f, h);
            rv1_[j] = z;
            c = f / z;
            s = h / z;
            f = x * c + g * s;
            g = g * c - x * s;
            h = y * s;
            y *= c;
            rotatePair(vcol(j), vcol(i), n_, c, s);
            z = hypot2(f, h);
            w_[j] = z;
            if (z != 0.0) {
                z = 1.0 / z;
                c = f * z;
                s = h * z;
            }
            f = c * g + s * y;
            x = c * y - s * g;
            rotatePair(ucol(j), ucol(i), m_, c, s);
        }
        rv1_[l] = 0.0;
        rv1_[k] = f;
        w_[k] = x;
    }

    double* a_;
    double* v_;
    double* w_;
    double* rv1_;
    SvdFitWork& work_;
    const int m_;
    const int n_;
    double anorm_ = 0.0;
    // U transposed during the QR steps: column j of U at ut_[j * kSvdRow].
    std::array<double, (kSvdMaxCoefs + 1) * kSvdRow> ut_;
};

}  // namespace

void svdFit(SvdFitWork& work, int n, int m, BasisFunction basis) {
    if (!fitsWork(work, n, m)) return;
    for (int i = 1; i <= n; ++i) {
        basis(work.xData[i], work.phi.data(), m);
        const double t = 1.0 / work.sigma[i];
        double* row = work.uMatrix.data() + i * kSvdRow;
        for (int k = 1; k <= m; ++k) row[k] = t * work.phi[k];
        work.rhs[i] = t * work.yData[i];
    }
    svdDecompose(work, n, m);

    double wmax = 0.0;
    for (int k = 1; k <= m; ++k) wmax = std::max(wmax, work.wValues[k]);
    const double threshold = kRelativeCutoff * wmax;
    for (int k = 1; k <= m; ++k)
        if (work.wValues[k] < threshold) work.wValues[k] = 0.0;

    svdBackSubstitute(work, n, m);

    // NaN or infinite data can pass the decomposition without a convergence
    // failure (a single coefficient never iterates); such a result is no fit.
    for (int k = 1; k <= m; ++k) {
        if (!std::isfinite(work.coef[k])) {
            addSolverError(work, kNotFinite);
            break;
        }
    }
}

void svdDecompose(SvdFitWork& work, int m, int n) {
    if (fitsWork(work, m, n)) Decomposition(work, m, n).run();
}

void svdBackSubstitute(SvdFitWork& work, int m, int n) {
    if (!fitsWork(work, m, n)) return;
    const double* w = work.wValues.data();
    CoefArray dot{};
    for (int i = 1; i <= m; ++i) {
        const double* ui = work.uMatrix.data() + i * kSvdRow;
        const double bi = work.rhs[i];
        for (int k = 1; k <= n; ++k) dot[k] += ui[k] * bi;
    }
    for (int k = 1; k <= n; ++k) work.tmp[k] = w[k] != 0.0 ? dot[k] / w[k] : 0.0;
    for (int j = 1; j <= n; ++j) {
        const double* vj = work.vMatrix.data() + j * kSvdRow;
        double s = 0.0;
        for (int k = 1; k <= n; ++k) s += vj[k] * work.tmp[k];
        work.coef[j] = s;
    }
}

void addSolverError(SvdFitWork& work, std::string_view message) {
    work.errorText += message;
    work.errorText += "\r\n";
    ++work.errorCount;
}

double hypot2(double a, double b) {
    const double absA = std::fabs(a);
    const double absB = std::fabs(b);
    if (absA > absB) {
        const double r = absB / absA;
        return absA * std::sqrt(1.0 + r * r);
    }
    if (a == 0.0 && b == 0.0) return 0.0;
    const double r = absA / absB;
    return absB * std::sqrt(1.0 + r * r);
}

}  // namespace qf
