// The MIDlet of the sound test program (jme_sound_app: the real program's
// entry with this file added). At its first start it plays a 300 ms tone
// made in memory through Manager and Player, waits for its end and prints
// "played <ms>"; then it starts the tone looping without end and prints
// "looping <state>". When the application is paused (the shell pauses
// every player first) it prints "pauseApp <state of the looping player>".
// Commands on standard input (pause, resume, close ...) become the
// phone's messages, as for the shell's test program. The program runs
// headless in tests, where the sound goes to the silent
// real-time output; on a machine with a sound card it is heard.
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "TestAppDriver.h"

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_lang_System.h"
#include "java_lang_Thread.h"
#include "javax_microedition_media_Manager.h"
#include "javax_microedition_midlet_MIDlet.h"

namespace soundtest {

using javax::microedition::media::Manager;
using javax::microedition::media::Player;

class SoundMIDlet : public javax::microedition::midlet::MIDlet {
  VM_CLASS(SoundMIDlet, javax::microedition::midlet::MIDlet)

 public:
  VMPtr<SoundMIDlet> _VM_init() {
    MIDlet::_VM_init();
    return VMPtr<SoundMIDlet>(this);
  }

  void startApp() override {
    if (looping) {
      report("startApp", looping->getState());
      return;
    }
    std::thread([] { testAppReadCommands(); }).detach();
    VMPtr<VMArray<int8_t>> tone = toneFile(22050, 300);
    VMPtr<Player> once = Manager::createPlayer(tone, 0, tone->length, java::lang::String::_VM_fromUTF8("audio/x-wav"));
    once->realize();
    once->prefetch();
    const int64_t begin = java::lang::System::currentTimeMillis();
    once->start();
    while (once->getState() == Player::STARTED) java::lang::Thread::sleep(2);
    report("played", static_cast<int32_t>(java::lang::System::currentTimeMillis() - begin));
    once->close();

    VMPtr<Player> endless = Manager::createPlayer(tone, 0, tone->length, nullptr);
    endless->setLoopCount(-1);
    endless->realize();
    endless->start();
    looping = endless;
    java::lang::Thread::sleep(400);  // longer than one play
    report("looping", endless->getState());
  }

  void pauseApp() override { report("pauseApp", looping ? looping->getState() : -1); }
  void destroyApp(uint8_t) override {
    if (looping) looping->close();
    report("destroyApp", 0);
  }

  void _VM_markReferences(int colour) override {
    _VM_mark(looping, colour);
    MIDlet::_VM_markReferences(colour);
  }

 private:
  static void report(const char* what, int32_t value) {
    std::printf("%s %d\n", what, value);
    std::fflush(stdout);
  }

  // A canonical WAV file of a 440 Hz tone, 16-bit mono.
  static VMPtr<VMArray<int8_t>> toneFile(int32_t rate, int32_t ms) {
    const int32_t frames = rate * ms / 1000;
    std::vector<uint8_t> f(44 + 2 * static_cast<size_t>(frames));
    auto put = [&](size_t at, uint32_t v, int bytes) {
      for (int i = 0; i < bytes; ++i) f[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    const char* tags[] = {"RIFF", "WAVE", "fmt ", "data"};
    const size_t at[] = {0, 8, 12, 36};
    for (int i = 0; i < 4; ++i) put(at[i], tags[i][0] | tags[i][1] << 8 | tags[i][2] << 16 | tags[i][3] << 24, 4);
    put(4, static_cast<uint32_t>(f.size() - 8), 4);
    put(16, 16, 4);
    put(20, 1, 2);
    put(22, 1, 2);
    put(24, rate, 4);
    put(28, rate * 2, 4);
    put(32, 2, 2);
    put(34, 16, 2);
    put(40, 2 * frames, 4);
    for (int32_t i = 0; i < frames; ++i) {
      put(44 + 2 * i, static_cast<uint16_t>(static_cast<int16_t>(8000 * std::sin(2 * M_PI * 440 * i / rate))), 2);
    }
    VMPtr<VMArray<int8_t>> out = VMArray<int8_t>::create(static_cast<int32_t>(f.size()));
    for (size_t i = 0; i < f.size(); ++i) out->elements()[i] = static_cast<int8_t>(f[i]);
    return out;
  }

  VMField<Player> looping;
};

}  // namespace soundtest

VM_REGISTER_CLASS(soundtest::SoundMIDlet, "soundtest.SoundMIDlet", "javax.microedition.midlet.MIDlet",
                  VM_INSTANTIABLE);
