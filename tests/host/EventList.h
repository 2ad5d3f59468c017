#pragma once

// A host's event list of any length, as handed to effProcessEvents: short MIDI messages,
// then any other events the caller keeps alive.

#include <vector>

#include "host/Vst2.h"

class EventList {
 public:
  EventList& Midi(int32_t deltaFrames, uint8_t status, uint8_t data1, uint8_t data2) {
    midi_.push_back(MidiEventOf(deltaFrames, status, data1, data2));
    return *this;
  }
  EventList& Other(VstEvent* event) {
    others_.push_back(event);
    return *this;
  }

  // Valid until the next event is added.
  VstEvents* List() {
    const size_t count = midi_.size() + others_.size();
    storage_.assign(sizeof(VstEvents) / sizeof(VstIntPtr) + count, 0);
    auto* list = reinterpret_cast<VstEvents*>(storage_.data());
    list->numEvents = static_cast<int32_t>(count);
    VstEvent** slots = EventSlots(list);
    for (VstMidiEvent& event : midi_) *slots++ = reinterpret_cast<VstEvent*>(&event);
    for (VstEvent* event : others_) *slots++ = event;
    return list;
  }

 private:
  std::vector<VstMidiEvent> midi_;
  std::vector<VstEvent*> others_;
  std::vector<VstIntPtr> storage_;
};
