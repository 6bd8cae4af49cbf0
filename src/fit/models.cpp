#include "fit/models.h"

#include <cmath>

namespace qf {

void polynomialBasis(double u, double* phi, int m) {
    phi[1] = 1.0;
    for (int k = 2; k <= m; ++k) phi[k] = phi[k - 1] * u;
}

void inversePowerBasis(double u, double* phi, int m) {
    phi[1] = 1.0;
    if (std::fabs(u) > 1e-24) {
        for (int k = 2; k <= m; ++k) phi[k] = phi[k - 1] / u;
    } else {
        for (int k = 2; k <= m; ++k) phi[k] = 1e24;
    }
}

}  // namespace qf
