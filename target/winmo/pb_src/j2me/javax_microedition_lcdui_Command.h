#pragma once

#include <cstdint>

#include "HALCommand.h"
#include "VMClassKit.h"
#include "java_lang_String.h"

namespace javax::microedition::lcdui {

// A command a displayable offers: label, optional long label, type and
// priority. Its native record's address is the id the platform reports back
// when the user picks the command.
class Command : public virtual java::lang::Object {
  VM_CLASS(Command, java::lang::Object)

 public:
  static constexpr int32_t SCREEN = 1;
  static constexpr int32_t BACK = 2;
  static constexpr int32_t CANCEL = 3;
  static constexpr int32_t OK = 4;
  static constexpr int32_t HELP = 5;
  static constexpr int32_t STOP = 6;
  static constexpr int32_t EXIT = 7;
  static constexpr int32_t ITEM = 8;

  // IllegalArgumentException for a type outside SCREEN..ITEM (checked
  // first), NullPointerException for a null label. An empty label is valid.
  VMPtr<Command> _VM_init(VMPtr<java::lang::String> label, int32_t commandType, int32_t priority);
  VMPtr<Command> _VM_init(VMPtr<java::lang::String> label, VMPtr<java::lang::String> longLabel,
                          int32_t commandType, int32_t priority);
  ~Command() override;

  virtual VMPtr<java::lang::String> getLabel() { return label; }
  virtual VMPtr<java::lang::String> getLongLabel() { return longLabel; }
  virtual int32_t getCommandType() { return commandType; }
  virtual int32_t getPriority() { return priority; }

  // The id the platform knows the command by.
  HALCommand* nativeId() const { return nativeCommand; }

  void _VM_markReferences(int colour) override;

  VMField<java::lang::String> label;
  VMField<java::lang::String> longLabel;
  int32_t commandType;
  int32_t priority;
  HALCommand* nativeCommand;
};

}  // namespace javax::microedition::lcdui
