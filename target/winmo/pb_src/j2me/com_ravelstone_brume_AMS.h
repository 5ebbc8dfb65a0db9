#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_String.h"
#include "javax_microedition_midlet_MIDlet.h"

namespace com::ravelstone::brume {

// The application manager, the VM's boot class. Its entry runs at VM
// start-up on the main thread under the global VM lock: it finds the
// MIDlet class named by the application property "MIDlet-1" ("name, icon,
// class"), makes the MIDlet and starts it. Afterwards it drives the MIDlet
// through the platform's lifecycle events: pause (1), resume (2) and exit
// (3). Everything runs on the main thread under the global lock.
class AMS : public virtual java::lang::Object {
  VM_CLASS(AMS, java::lang::Object)

 public:
  // The boot entry: main with a null argument array.
  static void _VM_main(intptr_t argument);
  // startMIDlet(1); a fatal error "Failed to load MIDlet!" when no MIDlet
  // could be loaded.
  static void main(VMPtr<VMArray<java::lang::String>> args);
  // Loads MIDlet number n (property "MIDlet-<n>") and starts it. 1 when a
  // MIDlet was loaded, 0 when the property or its class name is missing.
  // ClassNotFoundException for an unknown class, InstantiationException
  // ("Class not a MIDlet") for a class that is not a MIDlet.
  static int32_t startMIDlet(int32_t n);
  // The application property, or null when it does not exist. Null key:
  // NullPointerException.
  static VMPtr<java::lang::String> getAppProperty(VMPtr<java::lang::String> key);
  // The class name of a "MIDlet-<n>" value: the text after its second
  // comma (or the whole value when there is none), trimmed.
  static VMPtr<java::lang::String> _VM_className(VMPtr<java::lang::String> value);

  // Registers the resume listener (list 0) and the pause-and-destroy
  // listener (list 2).
  static void _VM_clinit();

  // The current MIDlet, null until one is loaded.
  static VMStatic<javax::microedition::midlet::MIDlet> midlet;
};

}  // namespace com::ravelstone::brume
