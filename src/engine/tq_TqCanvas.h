#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_io_DataInputStream.h"
#include "java_io_InputStream.h"
#include "java_io_OutputStream.h"
#include "java_lang_Runnable.h"
#include "java_lang_StringBuffer.h"
#include "java_lang_Thread.h"
#include "java_lang_Throwable.h"
#include "java_util_Vector.h"
#include "javax_microedition_lcdui_Graphics.h"
#include "javax_microedition_lcdui_Image.h"
#include "javax_microedition_lcdui_game_GameCanvas.h"
#include "javax_microedition_midlet_MIDlet.h"
#include "tq_AnimSet.h"
#include "tq_Gob.h"
#include "tq_MediaManager.h"
#include "tq_platform_PlatformExtension.h"
#include "tq_util_text_RichFont.h"

namespace tq {

// The engine's game canvas: the one class a game subclasses for its display
// surface and its game thread. Exactly one exists at a time (`instance`).
//
// Threads. The main thread delivers showNotify, hideNotify, sizeChanged and
// the key and stylus events; the canvas thread (this object's run) ticks,
// paints and runs the level hooks; network threads hand results over
// through the job queue. All of them hold the global VM lock while they
// run Java code, so the shared words (runState, started, pendingRequest,
// sizeChangedFlag) need no lock of their own; the monitors guard the
// sequences: `inputLock` the key arrays, `canvasThread` the pause
// hand-over, `jobLock` the job queue. Lock order: the pointer key manager's
// lock before `inputLock` (the canvas calls the key manager after leaving
// `inputLock`).
//
// Failures. An exception that escapes a pass of the run loop (tick, paint,
// a job, the media step, a hook) ends the application, not only the
// thread: it is printed, the game gets onAppEvent(3) to release what it
// holds, and the program exits through the shell's exit sequence with exit
// code 1 (a crashed game must not look like a clean exit).
//
// The definitions are split by topic into tq_TqCanvas.<topic>.cpp; this
// header keeps the members in the same groups.
class TqCanvas : public javax::microedition::lcdui::game::GameCanvas, public virtual java::lang::Runnable {
  VM_CLASS(TqCanvas, javax::microedition::lcdui::game::GameCanvas)

 public:
  using Graphics = javax::microedition::lcdui::Graphics;
  using MIDlet = javax::microedition::midlet::MIDlet;

  // --- Construction (tq_TqCanvas.cpp) ---------------------------------
  // Sets the spine's fields, switches to full screen, becomes `instance`,
  // starts the canvas thread (which waits for the first showNotify) and
  // takes the screen size as the view.
  VMPtr<TqCanvas> _VM_init(VMPtr<MIDlet> midlet);
  void _VM_markReferences(int colour) override;
  static void _VM_clinit();

  // --- Hooks for the game ----------------------------------------------
  // Once per frame on the canvas thread, after the jobs.
  virtual void tick() = 0;
  // Once per painted frame, after the borders and the view translation.
  virtual void paintFrame(VMPtr<Graphics> g) = 0;
  // Application events: 0 started, 1 paused, 2 resumed, 5 resume complete,
  // 4 size changed, 3 quit. The game overrides it and calls this body.
  virtual void onAppEvent(int32_t code);
  // Level stream hooks, called while a level is decoded.
  virtual void levelHeader(int32_t value) {}
  virtual void levelProperties(int32_t a, int32_t columns, int32_t value, int32_t d, int32_t e, int32_t f,
                               int32_t paletteCount) {}
  virtual void levelPaletteEntry(int32_t index, int32_t entry) {}
  virtual void levelSize(int32_t width, int32_t height) {}
  virtual void levelCell(int32_t x, int32_t y, int32_t value) {}
  virtual void levelEntityGroup(int32_t type, int32_t count) {}
  virtual void levelEntity(int32_t type, int32_t x, int32_t y) {}
  // Network hooks: an HTTP result on the canvas thread; socket data on the
  // session's reader thread; the two stream hooks are never called.
  virtual void onNetworkResult(int32_t status, VMPtr<VMArray<int8_t>> data) {}
  virtual void onSocketData(VMPtr<VMArray<int8_t>> data, int32_t count) {}
  virtual void onSocketInput(VMPtr<java::io::InputStream> in) {}
  virtual void onSocketOutput(VMPtr<java::io::OutputStream> out) {}

  // --- Run loop and run states (tq_TqCanvas.run.cpp) ------------------
  // The canvas thread's body.
  void run() override;
  // Main thread: a resume request, then the canvas thread may start.
  void showNotify() override;
  // Main thread: a pause request.
  void hideNotify() override;
  // Pause (1), resume (2), quit (3); other codes go to onAppEvent as they
  // are. Ignored once the canvas is exiting.
  virtual void requestState(int32_t state);
  // Enters the exiting state: the loop ends at its next test; closes the
  // media manager.
  void quit();
  // Carries out a pending pause or resume; on the canvas thread.
  void handlePause();
  // The paint pass: black bands round a smaller view, the view's
  // translation, the clip, the game's paint. A null `g` keeps the repaint
  // request for the next frame.
  void renderFrame(VMPtr<Graphics> g);
  // Reads the display size and centres the requested view in it; true.
  uint8_t updateScreenSize();
  // Asks for a view of w x h (0 or less: the whole screen in that
  // dimension), centred on the screen; the borders are repainted.
  virtual void setViewSize(int32_t w, int32_t h);
  void sizeChanged(int32_t w, int32_t h) override;
  virtual void requestRepaint();
  virtual int32_t getScreenWidth();
  virtual int32_t getScreenHeight();
  // Clips `g` to the view (0, 0, viewWidth, viewHeight).
  virtual void resetClip(VMPtr<Graphics> g);
  virtual int32_t getViewX() { return viewX; }
  virtual int32_t getViewY() { return viewY; }
  virtual int32_t getViewWidth() { return viewWidth; }
  virtual int32_t getViewHeight() { return viewHeight; }
  // Both pointer managers take the new view: the key manager, then the
  // event queue.
  void updateInputArea();

  // --- Frame pacing (tq_TqCanvas.pacing.cpp) --------------------------
  // Where the canvas reads the time and how it sleeps: one replaceable
  // pair, so that a test can see every sleep and move a clock by it. The
  // default reads System.currentTimeMillis and sleeps with Thread.sleep,
  // never interrupted.
  struct TimeSource {
    int64_t (*now)();
    void (*sleep)(int32_t ms);
  };
  // Null restores the default.
  static void setTimeSource(const TimeSource* source);
  static int64_t getTimeMillis();
  // Nothing for 0 or less; 50 ms or more yields the global lock first; an
  // interrupt ends the sleep silently.
  static void sleep(int32_t ms);
  virtual void setFrameTime(int32_t ms);
  virtual void setMaxFrameTime(int32_t ms);
  // Period = the smaller frame-time setting (at least 0), cap = the larger
  // (at least 1).
  void updateFrameLimits();
  virtual int32_t getFrameDuration();
  virtual void restartTiming();
  // Pays back the debt owed to the frame period in sleeps of an eighth of
  // it and records the last frame's capped duration; canvas thread only.
  void waitFrame();

  // --- Keys and pointer input (tq_TqCanvas.keys.cpp) ------------------
  // Key numbers: 1..63 for the codes of `keyCodes`, 64..127 for raw
  // negative key codes -1..-64. A state byte holds the press count (bits
  // 0-5, at most 63), held (bit 6) and released (bit 7).
  static constexpr int32_t kCountMask = 63;
  static constexpr int32_t kHeld = 64;
  static constexpr int32_t kReleased = 128;
  void keyPressed(int32_t code) override;
  void keyReleased(int32_t code) override;
  void keyRepeated(int32_t code) override {}
  void pointerPressed(int32_t x, int32_t y) override;
  void pointerReleased(int32_t x, int32_t y) override;
  void pointerDragged(int32_t x, int32_t y) override;
  // Folds the letter keys of a full keyboard onto the keypad, then
  // records: type 1 press, 2 release.
  void dispatchKey(int32_t code, int32_t type);
  void keyEvent(int32_t code, uint8_t pressed);
  void setKeyState(int32_t keyNumber, uint8_t pressed);
  // The key number of a key (1..63 itself, -1..-64 as 64..127), else -1.
  static int32_t keyIndexOf(int32_t key);
  // Record a transition by key number, without the key table (touch
  // regions use them).
  virtual void pressKey(int32_t key);
  virtual void releaseKey(int32_t key);
  virtual void tapKey(int32_t code);
  // 63, 62 ... 41, one per call, then 0.
  virtual int32_t allocateKeyNumber();
  // The frame side, on the canvas thread: the game latches once per tick.
  virtual void latchKeys();
  virtual void resetKeys();
  int32_t getKeyState(int32_t key);
  virtual int32_t getKeyPressCount(int32_t key);
  virtual uint8_t isKeyPressed(int32_t key);
  virtual uint8_t isKeyHeld(int32_t key);
  virtual uint8_t isKeyReleased(int32_t key);
  virtual int32_t getPressedKeys();
  virtual int32_t getHeldKeys();
  virtual int32_t getReleasedKeys();
  virtual int8_t getFirstPressedKey();
  virtual int8_t getFirstHeldKey();
  virtual int8_t getFirstReleasedKey();
  virtual uint8_t isAnyKeyPressed() { return anyKeyThisFrame; }
  // Returns once no event is being recorded.
  virtual void syncInputLock();

  // --- Job queue and network hand-over (tq_TqCanvas.jobs.cpp) ---------
  VMPtr<java::util::Vector> getJobQueue();
  VMPtr<java::lang::Object> getJobLock();
  virtual void scheduleJob(VMPtr<java::lang::Runnable> job);
  // A second result before delivery replaces the first; an empty array is
  // kept as null.
  void postNetworkResult(int32_t status, VMPtr<VMArray<int8_t>> data);
  static void networkTransferComplete(int32_t status, VMPtr<VMArray<int8_t>> data);
  void cancelNetworkResult();
  // The network result first, then the jobs in order; a job may queue
  // another, which runs in the same call.
  virtual void runJobs();

  // --- Static byte buffers (tq_TqCanvas.buffers.cpp) ------------------
  // Serialisation scratch space shared by the whole engine: callers assign
  // a buffer and its position, then read or write. Big-endian except the
  // *LE writers; access past the end throws
  // ArrayIndexOutOfBoundsException, a null buffer NullPointerException.
  static void writeByte(int32_t v);
  static void writeShort(int32_t v);
  static void writeInt(int32_t v);
  static void writeShortLE(int32_t v);
  static void writeIntLE(int32_t v);
  static void writeBoolean(uint8_t b);
  static int32_t readByte();
  static int32_t readInt();
  static uint8_t readBoolean();

  // --- Level stream (tq_TqCanvas.level.cpp) --------------------------
  // A level is a big-endian bit stream: loadLevel decodes its flag byte and
  // blocks into the level hooks, which may read further fields of their own
  // with levelReadBits. A read past the end of the data throws EOFException
  // out of loadLevel; a cell index past the palette throws
  // ArrayIndexOutOfBoundsException. A zero
  // column count or row width with values to divide throws
  // ArithmeticException.
  virtual int32_t levelReadBits(int32_t n);
  virtual uint8_t levelReadBoolean();
  virtual void loadLevel(int32_t resourceId);

  // --- Numbered records (tq_TqCanvas.records.cpp) ---------------------
  // Record n is the whole record store named by the decimal text of n:
  // its MIDP records, in id order, hold the bytes in pieces of 4096.
  // Failures come back as null or false, never as exceptions.
  virtual VMPtr<VMArray<int8_t>> readRecord(int32_t n);
  // Null data deletes the record. A save of as many pieces as the store
  // holds replaces each piece in place (a one-piece save is then old or
  // new at any kill); any other save deletes the store and adds the pieces
  // anew, writing the old bytes back when that fails.
  virtual uint8_t writeRecord(int32_t n, VMPtr<VMArray<int8_t>> data);
  virtual void deleteRecord(int32_t n);
  // Deletes every store whose name is a decimal int; false when the scan
  // ended early.
  virtual uint8_t deleteAllRecords();

  // --- Device services and resource shortcuts (tq_TqCanvas.services.cpp)
  // Once: both vibration gates and the sound switch on.
  virtual void initDeviceFeatures();
  // Vibrate through the MIDlet's display when the gate is on; platform
  // failures are ignored.
  virtual void vibrate(int32_t ms);
  virtual void vibrateSecondary(int32_t ms);
  // The platform's answer (false: an orientation it does not offer), after
  // a 20 ms pause.
  virtual uint8_t setOrientation(int32_t code);
  // Registers a wake-up alarm `seconds` from now (0 for less than 1); false
  // when the platform refuses it.
  virtual uint8_t setAlarm(int32_t seconds);
  virtual int32_t loadIndex(VMPtr<java::io::DataInputStream> in);
  // The decimal (or `radix`) value of `s`, or `defaultValue` when it is
  // not a number.
  static int32_t parseInt(VMPtr<java::lang::String> s, int32_t defaultValue);
  static int32_t parseInt(VMPtr<java::lang::String> s, int32_t defaultValue, int32_t radix);
  // Appends the decimal text of `value`, with at least `minDigits` digits.
  static void appendNumber(VMPtr<java::lang::StringBuffer> sb, int32_t value);
  static void appendNumber(VMPtr<java::lang::StringBuffer> sb, int32_t value, int32_t minDigits);
  // The debug log: a game may override it; the engine prints nothing.
  virtual void log(int32_t level, VMPtr<java::lang::String> message);
  virtual void log(int32_t level, VMPtr<java::lang::String> message, VMPtr<java::lang::Object> object);
  virtual void log(int32_t level, VMPtr<java::lang::String> message, VMPtr<java::lang::Throwable> thrown);
  virtual void log(int32_t level, VMPtr<java::lang::String> message, VMPtr<java::lang::Object> object,
                   VMPtr<java::lang::Throwable> thrown) {}
  // Resource shortcuts: tq::Resources of the same arguments.
  virtual int32_t getResourceType(int32_t id);
  virtual int32_t getResourceSize(int32_t id);
  virtual uint8_t loadIndexFromRecord(int32_t recordId);
  virtual void closePack();
  virtual VMPtr<javax::microedition::lcdui::Image> getImage(int32_t id);
  virtual VMPtr<javax::microedition::lcdui::Image> getImage(int32_t id, VMPtr<VMArray<int8_t>> palette);
  virtual VMPtr<VMArray<int8_t>> getBytes(int32_t id);
  virtual VMPtr<java::io::DataInputStream> getStream(int32_t id);
  virtual VMPtr<VMArray<int8_t>> buildPack(VMPtr<VMArray<int8_t, 2>> data, VMPtr<VMArray<int8_t>> types);
  // Platform forwards.
  virtual void setSleepAllowed(uint8_t allowed);
  virtual int32_t getOrientation();
  static int32_t currentOrientation();
  // 1 when the platform took the orientation, 0 when it refused it.
  static int32_t changeOrientation(int32_t code);
  // The gates of vibrate and vibrateSecondary.
  virtual void setVibrationEnabled(uint8_t enabled);
  virtual uint8_t isVibrationEnabled();
  virtual void setSecondaryVibrationEnabled(uint8_t enabled);
  virtual uint8_t isSecondaryVibrationEnabled();

  // --- Utilities and view accessors (tq_TqCanvas.util.cpp) ------------
  // False when the rectangles only touch.
  static uint8_t rectanglesOverlap(int32_t x1, int32_t y1, int32_t w1, int32_t h1, int32_t x2, int32_t y2,
                                   int32_t w2, int32_t h2);
  // Ascending comb sort of a[0 .. n - 1] (the gap shrinks by 197/256).
  static void sortInts(VMPtr<VMArray<int32_t>> a, int32_t n);
  // The index of `key` in the ascending a[0 .. last], else where it would
  // go; last + 1 for a negative `last`.
  static int32_t binarySearch(VMPtr<VMArray<int32_t>> a, int32_t last, int32_t key);
  // Inserts the decimal text of `value` at `pos`: '-' first when negative,
  // the magnitude padded with zeros to `minDigits` below 65536, whole from
  // 65536 on.
  static void insertNumber(VMPtr<java::lang::StringBuffer> sb, int32_t value, int32_t minDigits, int32_t pos);
  // True when some pixel's alpha has a high nibble other than 0xF.
  static uint8_t hasTransparency(VMPtr<VMArray<int32_t>> argb);
  // 1 opaque, 2 only fully transparent besides, 3 translucent, by the high
  // nibble of each alpha in the w x h rectangle at (x, y).
  static int32_t classifyAlpha(VMPtr<VMArray<int32_t>> argb, int32_t offset, int32_t scanlength, int32_t x,
                               int32_t y, int32_t w, int32_t h);
  // The left (top) edge of a w x h rectangle at (x, y) after a transform
  // (bit 1 mirror vertically, 2 horizontally, 4 swap axes).
  static int32_t transformX(int32_t x, int32_t y, int32_t w, int32_t h, int32_t transform);
  static int32_t transformY(int32_t x, int32_t y, int32_t w, int32_t h, int32_t transform);
  static void fillTriangle(VMPtr<Graphics> g, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
                           int32_t y3);
  // The view setters store as they are told (no centring, no repaint) and
  // hand the new area to the pointer managers.
  virtual void setViewOrigin(int32_t x, int32_t y);
  virtual void setViewX(int32_t x);
  virtual void setViewY(int32_t y);
  virtual void setViewWidth(int32_t w);
  virtual void setViewHeight(int32_t h);
  virtual uint8_t isRepaintFrame() { return repaintThisFrame; }
  // Clips `g` to the rectangle, first cut to the view when the view does
  // not start at the screen's corner.
  virtual void setClipInView(VMPtr<Graphics> g, int32_t x, int32_t y, int32_t w, int32_t h);
  virtual int64_t getElapsedTime() { return 0; }
  VMPtr<MIDlet> getMidlet() { return VMPtr<MIDlet>(midlet); }

  // --- Drawables and their resources (tq_TqCanvas.drawables.cpp) ------
  // The one platform extension, made on first use.
  static VMPtr<tq::platform::PlatformExtension> getPlatformExtension();
  // Image::createRGBImage of the same arguments.
  static VMPtr<javax::microedition::lcdui::Image> createRGBImage(VMPtr<VMArray<int32_t>> argb, int32_t w,
                                                                 int32_t h, uint8_t processAlpha);
  virtual VMPtr<javax::microedition::lcdui::Image> newRGBImage(VMPtr<VMArray<int32_t>> argb, int32_t w, int32_t h,
                                                               uint8_t processAlpha);
  // ResourcesExt::getGobs and Resources::getAnimSet of the same arguments.
  virtual VMPtr<VMArray<Gob>> getGobs(int32_t id);
  virtual VMPtr<VMArray<Gob>> getGobs(int32_t id, VMPtr<VMArray<int8_t>> palette);
  virtual VMPtr<AnimSet> getAnimSet(int32_t id);
  static VMStatic<tq::platform::PlatformExtension> platformExtension;

  // --- Text: the canvas font and the text table (tq_TqCanvas.text.cpp) -
  // The canvas's font, made on first use (system font, medium plain) and
  // kept for the canvas's life; the operations below forward to it. The
  // tight heights measure from the highest ink of the text.
  virtual VMPtr<util::text::RichFont> getRichFont();
  virtual void setFontGlyphs(VMPtr<VMArray<Gob>> set);
  virtual VMPtr<VMArray<Gob>> getFontGlyphs();
  virtual void setFontUnusedProperty(int32_t v);
  virtual int32_t getFontUnusedProperty();
  virtual void setSystemFont(int32_t index);
  virtual int32_t getSystemFontIndex();
  virtual int32_t getFontBaseline();
  virtual int32_t getFontHeight();
  virtual int32_t charTightHeight(char16_t c);
  virtual int32_t stringTightHeight(VMPtr<java::lang::String> s);
  virtual int32_t substringTightHeight(VMPtr<java::lang::String> s, int32_t off, int32_t len);
  virtual int32_t stringBufferTightHeight(VMPtr<java::lang::StringBuffer> sb);
  virtual int32_t charsTightHeight(VMPtr<VMArray<char16_t>> ch, int32_t off, int32_t len);
  virtual int32_t stringBufferWidth(VMPtr<java::lang::StringBuffer> sb);
  virtual int32_t stringWidth(VMPtr<java::lang::String> s);
  virtual int32_t substringWidth(VMPtr<java::lang::String> s, int32_t off, int32_t len);
  virtual int32_t charWidth(char16_t c);
  virtual int32_t charsWidth(VMPtr<VMArray<char16_t>> ch, int32_t off, int32_t len);
  virtual VMPtr<Gob> getGlyph(int32_t code);
  virtual void getStringBounds(VMPtr<java::lang::String> s, int32_t x, int32_t y, VMPtr<VMArray<int32_t>> box,
                               int32_t anchor);
  virtual void getStringBufferBounds(VMPtr<java::lang::StringBuffer> sb, int32_t x, int32_t y,
                                     VMPtr<VMArray<int32_t>> box, int32_t anchor);
  virtual void drawString(VMPtr<Graphics> g, VMPtr<java::lang::String> s, int32_t x, int32_t y, int32_t anchor);
  virtual void drawSubstring(VMPtr<Graphics> g, VMPtr<java::lang::String> s, int32_t off, int32_t len, int32_t x,
                             int32_t y, int32_t anchor);
  virtual void drawStringBuffer(VMPtr<Graphics> g, VMPtr<java::lang::StringBuffer> sb, int32_t x, int32_t y,
                                int32_t anchor);
  virtual void drawChar(VMPtr<Graphics> g, char16_t c, int32_t x, int32_t y, int32_t anchor);
  virtual void drawChars(VMPtr<Graphics> g, VMPtr<VMArray<char16_t>> ch, int32_t off, int32_t len, int32_t x,
                         int32_t y, int32_t anchor);
  virtual void drawNumber(VMPtr<Graphics> g, int32_t value, int32_t minDigits, int32_t x, int32_t y,
                          int32_t anchor);
  // The text table: an i16 count n, then per entry an i16 byte length and
  // its UTF-8 bytes, all decoded into Strings at once. -1 only clears the
  // table; a negative count gives an empty one; a table cut short keeps
  // the entries read whole (the others are empty or null).
  virtual void loadTexts(int32_t resourceId);
  // The entry, or null when it could not be decoded.
  virtual VMPtr<java::lang::String> getText(int32_t index);
  void decodeTexts();
  // 1- to 3-byte sequences, continuation bytes unchecked; a byte that
  // starts none (80-BF, F0-FF) is skipped, and a sequence cut off by the
  // end of the range ends the text.
  static VMPtr<java::lang::String> decodeUtf8(VMPtr<VMArray<int8_t>> b, int32_t offset, int32_t length);
  VMField<util::text::RichFont> richFont;
  VMField<VMArray<java::lang::String>> textStrings;
  VMField<VMArray<int8_t>> textBytes;
  VMField<VMArray<char16_t>> textOffsets;

  // Level reader state; `levelStream` is set only inside loadLevel.
  VMField<java::io::DataInputStream> levelStream;
  int32_t levelBitsLeft;
  int32_t levelByte;
  // Capabilities, switched on by the first initDeviceFeatures; the sound
  // switch is read by the media manager.
  uint8_t featuresInitialised;
  uint8_t vibrationEnabled;
  uint8_t secondaryVibrationEnabled;
  uint8_t soundEnabled;

  // --- Spine fields -------------------------------------------------------
  VMField<MIDlet> midlet;
  // Set by the media manager when it is made; stepped once per frame.
  VMField<MediaManager> mediaManager;
  VMField<java::lang::Object> inputLock;
  VMField<VMArray<int8_t>> liveKeys;
  VMField<VMArray<int8_t>> frameKeys;
  uint8_t anyKeyPressed;
  uint8_t anyKeyThisFrame;
  int32_t pressedKeysCache;
  int32_t heldKeysCache;
  int32_t releasedKeysCache;
  int32_t pendingRequest;
  int64_t requestTime;
  int32_t pauseState;
  int32_t frameTime;
  int32_t maxFrameTime;
  int32_t framePeriod;
  int32_t frameCap;
  int32_t frameDuration;
  int32_t sleepDebt;
  int64_t lastFrameTime;
  uint8_t resetTiming;
  uint8_t repaintPending;
  uint8_t repaintThisFrame;
  uint8_t sizeChangedFlag;
  int32_t requestedViewWidth;
  int32_t requestedViewHeight;
  int32_t viewWidth;
  int32_t viewHeight;
  int32_t viewX;
  int32_t viewY;
  // Job queue and network result.
  VMField<java::util::Vector> jobQueue;
  VMField<java::lang::Object> jobLock;
  uint8_t jobsPending;
  uint8_t resultPending;
  int32_t resultStatus;
  VMField<VMArray<int8_t>> resultData;

  // --- Statics --------------------------------------------------------
  static VMStatic<TqCanvas> instance;
  // 0 constructed, 3 running, 4 exiting.
  static int8_t runState;
  static uint8_t started;
  // Also the monitor of the pause hand-over; null after quit.
  static VMStatic<java::lang::Thread> canvasThread;
  static int32_t screenWidth;
  static int32_t screenHeight;
  static VMStatic<VMArray<int32_t>> keyCodes;
  static int32_t nextKeyNumber;
  static VMStatic<VMArray<int8_t>> writeBuffer;
  static int32_t writePosition;
  static VMStatic<VMArray<int8_t>> readBuffer;
  static int32_t readPosition;

 private:
  // Marks the fields of the text block.
  void markText(int colour);
  // The run loop's passes until the exiting state; false when it returned
  // early (a quit right after the tick or the media step).
  bool runPasses();
  bool runOnePass();
  // The end of a normal run: the pointer managers forget everything.
  void stopInput();
  // An exception escaped a pass: print it, let the game release, end the
  // application with a failure.
  void failRun(VMPtr<java::lang::Throwable> thrown);
  bool resumePending();
  void completeResume();
  void fillBands(VMPtr<Graphics> g);
  int32_t keyMask(int32_t mask);
  int8_t firstKeyWith(int32_t mask);
  void pointerFeed(int32_t x, int32_t y, uint8_t down, uint8_t edge, int32_t type);
  static void writeBytes(int64_t value, int32_t count, bool littleEndian);
};

}  // namespace tq
