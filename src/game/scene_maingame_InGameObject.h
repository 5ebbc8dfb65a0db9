#pragma once

#include <cstdint>

#include "VMClassKit.h"
#include "tq_CellLayer.h"
#include "tq_graphics_CollisionBox.h"
#include "ui_LevelLoader.h"
#include "ui_Screen.h"

namespace scene::maingame {

// A screen object that lives in a level: the two main objects the player
// steers and, through InGameBarrier, everything else in a level. Layer 0
// is an animation player whose animation number is the object's look; its
// y is the object's lower edge and its width the bounding box of the
// first animation it was asked for. The animation steps carry the motion;
// the object's state picks the animation and what its end leads to.
//
// A main object stands on the level's platforms (scaled records of mode
// 0, from the controller's level loader), walks off their ends, jumps and
// drops when told, falls until it lands, is pushed out of solid blocks
// (mode 1), loses a life per hit and is hurt for 2000 ms after each hit,
// and dies when its lives run out, on a deadly record (mode 2) or when the
// camera leaves it behind. A dead object falls to a platform or to its
// bottom limit and then shows animation 11, the end of the level.
//
// Each object keeps one sprite handle in the map layer's pool (`mapLayer`,
// `spriteIndex`): taken when its first player layer is added or by
// `reset`, moved every tick. `reset` takes a new handle, so it is called
// once after the pool has been emptied.
//
// Contacts: `collides` leaves the touching pair in CollisionBox's hit
// statics (lastHitBox, the own box; lastHitOther, the other), which the
// push-outs read at once: the next collision test replaces them. Canvas
// thread only.
class InGameObject : public ui::Screen {
  VM_CLASS(InGameObject, ui::Screen)

 public:
  // States (the animation set on entering each).
  enum State : int32_t {
    kStopped = 1,           // stopped on a platform after a hurt sideways push: current - 1
    kHitStopped = 2,        // hit while stopped or pushed on a platform: current + 1
    kOnPlatform = 3,        // kWalk
    kOnPlatformHurt = 4,    // kWalkHurt
    kJumping = 5,           // kJump
    kJumpingHurt = 6,       // kJumpHurt
    kFalling = 7,           // kFall
    kFallingHurt = 8,       // kFallHurt
    kLandedAction = 9,      // kAction
    kDying = 10,            // kDie, or kKnockedOut after landing dead
    kLeftBehind = 11,       // kDie
    kDead = 12,             // kDeadFall
    kPushedOnPlatform = 13,  // unchanged
    kPushedJumping = 14,     // unchanged
    kPushedInAir = 15,       // unchanged
  };
  // Animations of layer 0.
  enum Animation : int32_t {
    kWalk = 2,
    kWalkHurt = 3,
    kJump = 4,
    kJumpHurt = 5,
    kFall = 6,
    kFallHurt = 7,
    kAction = 8,
    kDie = 9,
    kDeadFall = 10,
    kKnockedOut = 11,
  };
  // Scaled record modes.
  enum Mode : int32_t { kPlatform = 0, kSolid = 1, kDeadly = 2 };
  static constexpr int32_t kHurtMs = 2000;
  static constexpr int32_t kLivesAtTierZero = 5;

  // Visible, falling (state 7), airborne, on the upper half of the map,
  // 5 - tier lives, the controller's level loader.
  VMPtr<InGameObject> _VM_init();

  // --- Contacts -----------------------------------------------------------
  // Layer 0's boxes against `other`; a hit leaves the pair in the hit
  // statics.
  virtual uint8_t collides(VMPtr<tq::graphics::CollisionBox> other);
  // Unless dead or dying: dead, no lives, animation 9, state 10.
  virtual void die();
  // Solid records push out, deadly ones kill, until a push or a death.
  virtual void checkZones();
  // On a platform (animation 2 or 3) that is not solid or deadly, above
  // the bottom limit: falls.
  virtual void drop();
  // Out of the last contact: sideways, or else up (landing) or down; when
  // airborne a sideways push also puts y back to the previous y.
  virtual void pushOut();
  virtual void setBlocked(uint8_t b) { blocked = b; }
  // pushOut without putting y back.
  virtual void pushOutSolid();
  virtual void setHalfMap(uint8_t b) { halfMap = b; }
  virtual uint8_t isActionPending() { return actionPending; }
  virtual uint8_t isBlocked() { return blocked; }
  // While airborne or dead: the bottom limit for a dead object, else the
  // last platform (but the one stood on) met from above.
  virtual void land();
  virtual uint8_t isArmed() { return armed; }
  // Unless hurt: hurt, one life less, the hurt look or death.
  virtual void hit();
  virtual void setInView(uint8_t b) { inView = b; }
  virtual int32_t getSpriteIndex() { return spriteIndex; }
  virtual int32_t getState() { return state; }
  virtual uint8_t isInView() { return inView; }
  // The start values again, and a new sprite handle at point B.
  virtual void reset();
  virtual void setPlatformRange(int32_t left, int32_t width);
  virtual uint8_t isDead() { return dead; }
  // Unless dead or left behind: dead, no lives, animation 9, state 11.
  virtual void fallBehind();
  virtual void setSpriteIndex(int32_t i) { spriteIndex = i; }
  // Unless hurt or pending: the next landing plays animation 8 (at once
  // when on a platform).
  virtual void startAction();
  virtual uint8_t isHurt() { return hurt; }
  // With lives left, from a platform (states 3, 4, 13).
  virtual void jump();
  virtual void setArmed(uint8_t b) { armed = b; }

  // Adds the layer as a screen does; the first layer also takes the
  // object's sprite handle in the map layer.
  void addPlayerLayer(int32_t gobId, int32_t animSetId, int32_t animation, int32_t x, int32_t y) override;
  // The hurt time, the layers' players, the sprite, the state's rule and
  // the zones; nothing while invisible or paused.
  void tick() override;

  void _VM_markReferences(int colour) override;

  // Items gathered in the level (the display, the tally, the grade).
  static int32_t gathered;
  static VMStatic<InGameObject> mainObjectA;
  static VMStatic<InGameObject> mainObjectB;
  static VMStatic<tq::CellLayer> mapLayer;

  uint8_t inView;
  VMField<tq::graphics::CollisionBox> box;
  int32_t lives;
  int32_t state;
  uint8_t armed;
  int32_t spriteIndex;
  int32_t platformRight;
  uint8_t halfMap;
  int32_t platformIndex;
  uint8_t actionPending;
  VMField<tq::graphics::CollisionBox> zoneBox;
  int32_t hurtTime;
  uint8_t dead;
  uint8_t hurt;
  VMField<ui::LevelLoader> loader;
  uint8_t blocked;
  int32_t platformLeft;
  uint8_t airborne;

 protected:
  // Layer 0.
  VMPtr<tq::AnimPlayer> player();
  int32_t animation();
  void setAnimation(int32_t a) { setLayerValue(0, a); }
  // Layer 0's current frame into its sprite handle at its position.
  void placeSprite();
  // The layer's offsets become layer 0's position.
  void followLayerZero(int32_t layer);
  // Scaled record i as a rectangle in `into`.
  void scaledRect(int32_t i, const VMPtr<tq::graphics::CollisionBox>& into);
  // The elapsed time of the frame: the current scene's frame time.
  static int32_t frameTime();
  // 5 - tier.
  static int32_t startLives();

 private:
  int32_t bottomLimit();
  void pushOutBy(bool restoreY);
  void pushSideways(const VMPtr<tq::graphics::CollisionBox>& own, const VMPtr<tq::graphics::CollisionBox>& other,
                    bool restoreY);
  void pushVertically(const VMPtr<tq::graphics::CollisionBox>& own,
                      const VMPtr<tq::graphics::CollisionBox>& other);
  // Standing: the state and look of an object that has just come to rest
  // on something (dead, hurt, with an action pending or plain).
  void settle();
  void endHurt();
  void runState();
};

}  // namespace scene::maingame
