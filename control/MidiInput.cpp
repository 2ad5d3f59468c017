#include "engine/Tarsyn7.h"

namespace {

constexpr int kModWheel = 1;
constexpr int kBreath = 2;
constexpr int kSustain = 64;
constexpr int kAllSoundOff = 120;
constexpr int kAllNotesOff = 123;
constexpr int kLearnableControllers = 120;

// Controllers with a meaning of their own: never learned, so the pedal and the wheels
// keep working while learning waits for a controller.
bool IsFixedController(int controller) {
  return controller == kModWheel || controller == kBreath || controller == kSustain;
}

// Hosts may hand over data bytes with the top bit set, or offsets before the block.
MidiMessage Sanitized(MidiMessage message) {
  message.data1 &= 0x7F;
  message.data2 &= 0x7F;
  if (message.offset < 0) message.offset = 0;
  return message;
}

}  // namespace

// Every MIDI message from the host; the channel is ignored throughout.
void Tarsyn7::HandleMidiMessage(const MidiMessage& received) {
  const MidiMessage message = Sanitized(received);
  if (configuration_.MidiThru()) SendMidi(message);
  switch (message.StatusGroup()) {
    case 0x8:
    case 0x9: {
      MidiMessage note = message;
      if (note.StatusGroup() == 0x9 && note.data2 == 0) note.status = 0x80;
      if (!SequencerTakesNote(note)) QueueMessage(note);
      break;
    }
    case 0xB:
      if (message.data1 < kLearnableControllers && !IsFixedController(message.data1) &&
          midiLearn_.CaptureController(message.data1)) {
        break;
      }
      if (message.data1 == kAllSoundOff || message.data1 == kAllNotesOff) {
        ReleaseAllVoices();
      } else if (message.data1 == kSustain) {
        midiQueue_.Add(message);
      } else if (message.data1 < kLearnableControllers) {
        QueueMessage(message);
      }
      break;
    case 0xC:
      if (!configuration_.IgnoreProgramChange()) RecallPreset(message.data1);
      break;
    case 0xE:
      QueueMessage(message);
      break;
    default:
      break;
  }
}

// Into the queue. Controllers and pitch bend beyond the first control period of a block
// are queued half a period later.
void Tarsyn7::QueueMessage(MidiMessage message) {
  const int group = message.StatusGroup();
  if ((group == 0xB || group == 0xE) && message.offset > controlPeriod_) {
    message.offset += controlPeriod_ / 2;
  }
  midiQueue_.Add(message);
}
