#include "generated_Build.h"

VM_REGISTER_CLASS(generated::Build, "generated.Build", "", VM_INTERFACE | VM_HAS_CLINIT);

namespace generated {

VMStatic<java::lang::String> Build::fields[Build::kFieldCount];

namespace {

// The values of the fields before kEmptyFields, in the order of Field.
constexpr const char* kValues[Build::kEmptyFields] = {
    "Quorrin", "Vantrell", "com.vantrell", "Ostrel", "WinMo Ostrel", "Quo", "Quo",
    "Quo_Sony_Ericsson-Aspen.jar", "main.CommonMIDlet",
    "1.32.0", "4.4.0", "3.2", "1.1", "1", "999.999.999", "n/a",
    "2010-02-10", "2010-04-01", "2011-03-22", "16:50:01",
    "Sony Ericsson", "SONYERICSSON", "Xperia X2 WinMo", "ASPEN", "M1, AspenM1, M1a, AspenM1a, M1i, AspenM1i",
    "Windows Mobile", "Windows Mobile", "6.5", "6.5", "5.2", "Professional",
    "GENERIC_WINDOWS_MOBILE", "WINCE_API_GDI", "android-2", "ECLIPSE", "g32",
    "touch", "QWERTY", "4 Rows", "D-pad", "Numbers", "PORTRAIT", "tall", "normal",
    "s:21x21,l:43x43,start:90x90",
    "48: 46\u00a749: 117\u00a750: 105\u00a751: 111\u00a752: 106\u00a753: 107\u00a754: 108\u00a755: 109"
    "\u00a756: 246\u00a757: 228\u00a735: 229\u00a742: 44",
    // Groups of the character code 3, a keypad key and the character it
    // stands for (the canvas's key remapping reads this form).
    "\0030.\0031u\0032i\0033o\0034j\0035k\0036l\0037m\0038\u00f6\0039\u00e4\003#\u00e5\003*,",
    "WAV", "WAV", "WAV", "WAV", "capture://", "english", "SansSerif",
    "ffffff", "http://scores.quorrin.invalid/api/",
};

}  // namespace

const char* Build::literal(int32_t i) { return i >= 0 && i < kEmptyFields ? kValues[i] : ""; }

void Build::_VM_clinit() {
  for (int32_t i = 0; i < kFieldCount; ++i) fields[i] = _VM_intern(literal(i));
}

VMPtr<java::lang::String> Build::get(int32_t i) {
  if (i < 0 || i >= kFieldCount) return nullptr;
  _VM_clinitCheck();
  return fields[i];
}

}  // namespace generated
