#pragma once

#include <cstdint>

#include "VMClassKit.h"

namespace java::lang {

class String;

// The double constants and the double text of the library. No instances
// are made.
class Double final : public virtual Object {
  VM_CLASS(Double, Object)

 public:
  // Fills the constants from the platform's bit patterns.
  static void _VM_clinit();

  // The "%G" text of `d` (six significant digits, trailing zeros dropped,
  // exponent form "1.23457E+06" outside 1E-5 .. 1E+6); infinities are
  // "INF" and "-INF", every NaN is "NAN". It never depends on the C locale.
  static VMPtr<String> toString(double d);

  static double MAX_VALUE;
  static double MIN_VALUE;
  static double NaN;
  static double NEGATIVE_INFINITY;
  static double POSITIVE_INFINITY;
};

}  // namespace java::lang
