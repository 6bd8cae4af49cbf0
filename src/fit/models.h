#pragma once
// Basis functions of the power models. phi is 1-based: phi[1..m].

namespace qf {

// phi[k] = u^(k-1).
void polynomialBasis(double u, double* phi, int m);

// phi[k] = u^-(k-1); when |u| <= 1e-24 every phi[k], k >= 2, is 1e24.
void inversePowerBasis(double u, double* phi, int m);

}  // namespace qf
