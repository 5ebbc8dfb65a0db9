#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "java_lang_String.h"

namespace generated {

// The build properties, a constant-only interface whose 371 String statics
// its static initialiser fills with interned literals: 56 carry the values
// named below, the other 315 are "". Nothing reads them at run time (the
// three values the game needs stand as literals where they are used); they
// are kept so that the class holds what the build put into it.
class Build : public virtual java::lang::Object {
  VM_INTERFACE_CLASS(Build)

 public:
  // The fields that carry a value; every field from kEmptyFields on is "".
  enum Field : int32_t {
    kTitle, kVendor, kVendorPackage, kPublisher, kPublisherPlatform, kShortTag, kShortTagAgain,
    kJarName, kMidletClass,
    kGameVersion, kEngineVersion, kPlatformVersion, kConfigurationVersion, kBuildNumber,
    kMaxVersion, kNotAvailable,
    kFirstDate, kSecondDate, kBuildDate, kBuildTime,
    kManufacturer, kManufacturerKey, kDeviceName, kDeviceCode, kModelList,
    kOsName, kPlatformName, kOsVersion, kPlatformOsVersion, kKernelVersion, kOsEdition,
    kDeviceGroup, kGraphicsApi, kAndroidTarget, kIde, kGraphicsTag,
    kInput, kKeyboard, kKeyboardRows, kNavigation, kNumberKeys, kOrientation, kScreenShape, kScreenDensity,
    kIconSizes, kKeypadMap, kPackedKeypadMap,
    kMusicFormat, kSoundFormat, kEffectFormat, kVoiceFormat, kCaptureLocator, kLanguage, kFontFace,
    kTextColour, kScoreService,
    kEmptyFields
  };
  static constexpr int32_t kFieldCount = 371;

  static void _VM_clinit();
  // The value of field i after the class check; null outside 0 .. 370.
  static VMPtr<java::lang::String> get(int32_t i);
  // The literal the static initialiser gives field i.
  static const char* literal(int32_t i);

  static VMStatic<java::lang::String> fields[kFieldCount];
};

}  // namespace generated
