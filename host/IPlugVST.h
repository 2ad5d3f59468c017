#pragma once

#include <atomic>
#include <memory>

#include "host/IPlugBase.h"
#include "host/Vst2.h"
#include "platform/EditorWindow.h"

// The VST 2.4 layer: owns the published AEffect record and talks to the host callback.
class IPlugVST : public IPlugBase {
 public:
  // Whether the editor can open a window on the host's parent window (Win32 or X11). Hosts
  // show an empty window for an editor that is advertised but does not open.
  static constexpr bool kEditorHasWindow = true;

  IPlugVST(HostCallback host, int parameterCount, int presetCount, const char* channelString,
           const PlugIdentity& identity);
  ~IPlugVST() override;

  // The plug-in behind a published record; null for a record without an object.
  static IPlugVST* FromEffect(AEffect* effect) {
    return effect ? static_cast<IPlugVST*>(effect->object) : nullptr;
  }
  AEffect* Effect() {
    return &effect_;
  }
  HostCallback Host() const {
    return host_;
  }
  // The plug-in version as hosts count it: major * 10000 + minor * 100 + patch.
  int32_t VstVersion() const;

  void HostBeginGesture(int index) override;
  void HostParameterChanged(int index, double normalized) override;
  void HostEndGesture(int index) override;
  void HostProgramChanged() override;
  bool HostIsOffline() override;
  double HostSamplePosition() override;
  double HostTempo() override;
  void HostTimeSignature(int& numerator, int& denominator) override;
  void ReadHostTime(TimeInfo& info) override;
  int IdentifyHost() override;
  void EditorResized(int width, int height) override;
  void HostOpened() override;
  void AttachEditor(IGraphics* editor) override;
  void SetProcessingDelay(int frames) override;
  bool SendMidi(const MidiMessage& message) override;
  bool SendSysExData(const SysExMessage& message) override;
  // A command of the maker's command-line programs (host/ToolCommands.h) with what it
  // carries (a path or a request); true when done.
  virtual bool RunToolCommand(int32_t /*command*/, const void* /*data*/) {
    return false;
  }

  const ERect& EditorRect() const {
    return editorRect_;
  }
  // The host is offered the editor (has-editor flag, rectangle, open and close) only
  // when an editor is attached and this build can open its window.
  bool OffersEditor() const {
    return kEditorHasWindow && Editor();
  }
  // The editor's window in the host's window `parent`. The host calls these on its user-
  // interface thread; they run without the plug-in's lock, so painting, menus and dialogs
  // never stall the audio thread: what the editor changes in the plug-in takes the lock
  // itself.
  bool OpenEditor(void* parent);
  // The same with a window made elsewhere (a test's).
  bool OpenEditorIn(std::unique_ptr<EditorWindow> window);
  // While the editor shows a menu or dialog, the closed window lives on until it returns.
  void CloseEditor();
  void EditorIdle();

  // Host calls in progress: effClose inside another call (from a dialog's loop, or from
  // another thread) only asks for the deletion, which the last call to leave carries out.
  void EnterHostCall() {
    ++hostCalls_;
  }
  // True when the caller must now delete the plug-in.
  bool LeaveHostCall() {
    return --hostCalls_ == 0 && deletionRequested_;
  }
  void RequestDeletion() {
    deletionRequested_ = true;
  }
  // Tells the host, once per audio callback, that MIDI is wanted.
  void WantMidi();
  // True when the host's vendor is one that stores only program chunks (asked once).
  bool IsSpecialHost();

  // Host chunks. `GetChunk` answers the size and points `data` at bytes that stay valid
  // until the next chunk request, or answers 0. `SetChunk` answers whether the bytes
  // were taken; a failed read leaves the live state and every slot as they were.
  int GetChunk(bool bankRequested, void** data);
  bool SetChunk(bool bankRequested, const void* data, int size);

  // Pin connection from the host's speaker arrangements (either may be null).
  void ConnectPins(const VstSpeakerArrangement* inputs, const VstSpeakerArrangement* outputs);
  VstSpeakerArrangement* InputArrangement() {
    return &inputArrangement_;
  }
  VstSpeakerArrangement* OutputArrangement() {
    return &outputArrangement_;
  }

 private:
  VstIntPtr CallHost(int32_t opcode, int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  const VstTimeInfo* HostTimeInfo(int32_t filter);
  void FillEffect();
  void DescribePins();
  int ReadChunk(bool bank, const ChunkBuffer& chunk);
  int ReadProgramChunk(const ChunkBuffer& chunk, int position);
  int ReadChunkOfSpecialHost(const ChunkBuffer& chunk);

  HostCallback host_;
  AEffect effect_{};
  ERect editorRect_{};
  std::unique_ptr<EditorWindow> window_;
  std::unique_ptr<EditorWindow> closedWindow_;  // until its dialog returns
  std::atomic<int> hostCalls_{0};
  std::atomic<bool> deletionRequested_{false};
  VstSpeakerArrangement inputArrangement_{};
  VstSpeakerArrangement outputArrangement_{};
  ChunkBuffer programChunk_;
  ChunkBuffer bankChunk_;
  bool opened_ = false;
  int specialHost_ = -1;  // unknown until first asked
};
