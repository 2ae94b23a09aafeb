// Rounding of lengths to fractions of an inch, as the parts send them to
// Tarsis: tool sizes to 1/16, pattern positions to 1/64.
#pragma once

// value = floor(n * value + 0.5) / n, through a 32-bit integer: every value
// goes to the nearest 1/n with halves up (n = 16: 1.03125 gives 1.0625,
// -0.53125 gives -0.5), and a multiple of 1/n stays as it is, negative ones
// included, so rounding again changes nothing. A value whose scaled form
// does not fit a 32-bit integer (or is not a number) is left as it is.
// Returns 0.
int RoundToFraction(int n, double& value);

// value = int((value + 1/128) * 64) / 64, through a 32-bit integer: positive
// values to the nearest 1/64 with halves up (1.0078125 gives 1.015625),
// negative ones cut toward zero after the shift (-0.03 gives -0.015625).
// Values out of the 32-bit range are left as they are.
void RoundToSixtyFourth(double& value);
