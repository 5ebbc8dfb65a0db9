#include "VMCString.h"

#include <cstring>

#include "VMHeap.h"

char* VMCString::join(const char* first, const char* second) {
  const size_t firstLength = first ? std::strlen(first) : 0;
  const size_t secondLength = second ? std::strlen(second) : 0;
  char* chars = static_cast<char*>(_VM_operatorNew(firstLength + secondLength + 1));
  if (firstLength) std::memcpy(chars, first, firstLength);
  if (secondLength) std::memcpy(chars + firstLength, second, secondLength);
  chars[firstLength + secondLength] = '\0';
  return chars;
}

VMCString::VMCString(const char* text) : chars_(text ? join(text, nullptr) : nullptr) {}

VMCString::VMCString(const VMCString& other) : VMCString(other.chars_) {}

VMCString::~VMCString() { _VM_free(chars_); }

VMCString& VMCString::operator=(const VMCString& other) { return *this = other.chars_; }

VMCString& VMCString::operator=(const char* text) {
  // The new text is copied before the old block goes, so a text that lies
  // in this holder stays readable.
  char* chars = text ? join(text, nullptr) : nullptr;
  _VM_free(chars_);
  chars_ = chars;
  return *this;
}

void VMCString::append(const char* text) {
  if (!text) return;
  char* chars = join(chars_, text);
  _VM_free(chars_);
  chars_ = chars;
}

int VMCString::compare(const VMCString& other) const {
  return std::strcmp(c_str(), other.c_str());
}

bool VMCString::equals(const char* text) const {
  return text && std::strcmp(c_str(), text) == 0;
}

size_t VMCString::length() const { return chars_ ? std::strlen(chars_) : 0; }

const char* VMCString::c_str() const { return chars_ ? chars_ : ""; }
