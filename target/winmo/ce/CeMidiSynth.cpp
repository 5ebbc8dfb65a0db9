#include "CeMidiSynth.h"

#include <fluidsynth.h>
#include <unistd.h>

#include <mutex>

namespace {

// FluidSynth prints warnings (for example about missing audio drivers) to
// standard error; the stand-in reports failures by its results instead.
void quietLogs() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) fluid_set_log_function(level, nullptr, nullptr);
  });
}

}  // namespace

CeMidiSynth* CeMidiSynth::create(int32_t sampleRate) {
  quietLogs();
  auto* self = new CeMidiSynth();
  self->settings_ = new_fluid_settings();
  if (self->settings_ == nullptr) {
    delete self;
    return nullptr;
  }
  fluid_settings_setnum(self->settings_, "synth.sample-rate", sampleRate);
  fluid_settings_setint(self->settings_, "synth.reverb.active", 0);
  fluid_settings_setint(self->settings_, "synth.chorus.active", 0);
  fluid_settings_setint(self->settings_, "synth.threadsafe-api", 0);
  fluid_settings_setint(self->settings_, "synth.cpu-cores", 1);
  self->synth_ = new_fluid_synth(self->settings_);
  bool loaded = false;
  for (const char* path : kSoundFonts) {
    if (self->synth_ != nullptr && access(path, R_OK) == 0 && fluid_synth_sfload(self->synth_, path, 1) != FLUID_FAILED) {
      loaded = true;
      break;
    }
  }
  if (!loaded) {
    delete self;
    return nullptr;
  }
  return self;
}

CeMidiSynth::~CeMidiSynth() {
  if (synth_ != nullptr) delete_fluid_synth(synth_);
  if (settings_ != nullptr) delete_fluid_settings(settings_);
}

void CeMidiSynth::shortMessage(uint32_t message) {
  const int status = message & 0xF0;
  const int channel = message & 0x0F;
  const int data1 = (message >> 8) & 0x7F;
  const int data2 = (message >> 16) & 0x7F;
  switch (status) {
    case 0x80: fluid_synth_noteoff(synth_, channel, data1); break;
    case 0x90:
      if (data2 == 0) {
        fluid_synth_noteoff(synth_, channel, data1);
      } else {
        fluid_synth_noteon(synth_, channel, data1, data2);
      }
      break;
    case 0xA0: fluid_synth_key_pressure(synth_, channel, data1, data2); break;
    case 0xB0: fluid_synth_cc(synth_, channel, data1, data2); break;
    case 0xC0: fluid_synth_program_change(synth_, channel, data1); break;
    case 0xD0: fluid_synth_channel_pressure(synth_, channel, data1); break;
    case 0xE0: fluid_synth_pitch_bend(synth_, channel, data1 | data2 << 7); break;
    default: break;
  }
}

void CeMidiSynth::render(float* left, float* right, int32_t frames) {
  fluid_synth_write_float(synth_, frames, left, 0, 1, right, 0, 1);
}

void CeMidiSynth::reset() { fluid_synth_system_reset(synth_); }

bool CeMidiSynth::sounding() { return fluid_synth_get_active_voice_count(synth_) > 0; }
