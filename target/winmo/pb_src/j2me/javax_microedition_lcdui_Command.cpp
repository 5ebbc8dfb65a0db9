#include "javax_microedition_lcdui_Command.h"

#include "VMServices.h"
#include "VMThrow.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_NullPointerException.h"

VM_REGISTER_CLASS(javax::microedition::lcdui::Command, "javax.microedition.lcdui.Command", "java.lang.Object", 0);

namespace javax::microedition::lcdui {

VMPtr<Command> Command::_VM_init(VMPtr<java::lang::String> label, int32_t commandType, int32_t priority) {
  return _VM_init(label, nullptr, commandType, priority);
}

VMPtr<Command> Command::_VM_init(VMPtr<java::lang::String> label, VMPtr<java::lang::String> longLabel,
                                 int32_t commandType, int32_t priority) {
  Object::_VM_init();
  if (commandType < SCREEN || commandType > ITEM) _VM_throwNew<java::lang::IllegalArgumentException>();
  this->commandType = commandType;
  this->priority = priority;
  if (!label) _VM_throwNew<java::lang::NullPointerException>();
  this->label = label;
  this->longLabel = longLabel;
  // An empty label still passes characters: only a missing label is refused.
  static const char16_t kNoCharacters[1] = {0};
  const int32_t length = label->length();
  const char16_t* chars = length > 0 ? label->_VM_chars() : kNoCharacters;
  if (HAL_createCommand(&nativeCommand, chars, length, commandType, priority) != HAL_OK) {
    _VM_fatalError("HAL_createCommand() failed.");
  }
  return VMPtr<Command>(this);
}

Command::~Command() {
  if (nativeCommand != nullptr) HAL_deleteCommand(nativeCommand);
  nativeCommand = nullptr;
}

void Command::_VM_markReferences(int colour) {
  _VM_mark(label, colour);
  _VM_mark(longLabel, colour);
  Object::_VM_markReferences(colour);
}

}  // namespace javax::microedition::lcdui
