#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "tq_AnimSet.h"
#include "tq_Gob.h"

namespace tq {

// A sprite array with the animation set that draws from it, and three
// small values kept for the game (narrowed to their widths when set).
class GobSet : public virtual java::lang::Object {
  VM_CLASS(GobSet, java::lang::Object)

 public:
  VMPtr<GobSet> _VM_init();

  virtual int32_t getValueA() { return valueA; }
  virtual void setValueA(int32_t v) { valueA = static_cast<int16_t>(v); }
  virtual VMPtr<VMArray<Gob>> getGobs() { return VMPtr<VMArray<Gob>>(gobs); }
  virtual int32_t getFlag() { return flag; }
  virtual void setFlag(int32_t v) { flag = static_cast<int8_t>(v); }
  virtual void setValueB(int32_t v) { valueB = static_cast<int16_t>(v); }
  virtual int32_t getValueB() { return valueB; }
  virtual void setGobs(VMPtr<VMArray<Gob>> g) { gobs = g; }
  virtual void setAnimSet(VMPtr<AnimSet> s) { animSet = s; }
  virtual VMPtr<AnimSet> getAnimSet() { return VMPtr<AnimSet>(animSet); }

  void _VM_markReferences(int colour) override;

  int16_t valueA;
  VMField<AnimSet> animSet;
  int16_t valueB;
  VMField<VMArray<Gob>> gobs;
  int8_t flag;
};

}  // namespace tq
