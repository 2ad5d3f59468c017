#pragma once

#include <array>

#include "editor/PanelLayout.h"
#include "editor/PanelPlug.h"
#include "engine/CutoffTable.h"
#include "engine/FootageMixes.h"
#include "engine/GlobalFilterPath.h"
#include "engine/IncrementTable.h"
#include "engine/KeyPitchSource.h"
#include "engine/ModelRecord.h"
#include "engine/ModulationGenerator.h"
#include "engine/NoiseGenerator.h"
#include "engine/OutputStage.h"
#include "engine/PerformanceValues.h"
#include "engine/Sequence.h"
#include "engine/Sequencer.h"
#include "engine/Synth.h"
#include "engine/Voice.h"
#include "host/ToolCommands.h"
#include "programs/BankFiles.h"
#include "programs/HardwareImage.h"
#include "programs/StateRecord.h"
#include "programs/SysExReceiver.h"
#include "programs/TapeReadSettings.h"
#include "programs/TapeWavWriter.h"
#include "update/UpdateCheck.h"

// The instrument: the synthesizer layer plus the engine with its 64 voices.
class Tarsyn7 : public Synth, public KeyPitchSource, public SequencerOutput, public PanelPlug {
 public:
  static constexpr int kVoiceCount = 64;
  enum KeyMode { kPoly = 0, kChord = 1, kRecording = 2 };
  // Front-panel buttons (the codes their pushes send).
  enum PanelCode {
    kStepButton = 87,
    kStartStopButton = 88,
    kPolyButton = 89,
    kChordMemoryButton = 90,
    kHoldButton = 91,
    kDigit1Button = 92,
    kDigit8Button = 99,
    kBankHoldButton = 100,
    kProgParaButton = 101,
    kDownButton = 102,
    kUpButton = 103,
  };

  explicit Tarsyn7(HostCallback host);
  ~Tarsyn7() override;

  void ResetProcessing() override;
  void ParameterChanged(int index) override;
  void RenderBlock(double** inputs, double** outputs, int frames) override;
  void HandleMidiMessage(const MidiMessage& message) override;
  void ReleaseAllVoices() override;
  bool WriteState(ChunkBuffer& chunk) override;
  int ReadState(const ChunkBuffer& chunk, int position) override;
  // Reads a state record, optionally passing over the sound (values and chord) or the
  // sequence without changing them. Answers the position behind it, negative on failure.
  int ReadStateParts(const ChunkBuffer& chunk, int position, bool skipSound, bool skipSequence);

  // Bank and program files and the factory banks (programs/Banks.cpp). A load changes
  // all or nothing: a file it refuses leaves every slot and the live state as they were.
  bool LoadBankFile(const std::string& path);
  bool LoadBankBytes(const uint8_t* bytes, size_t size);  // a whole FXB file in memory
  bool SaveBankFile(const std::string& path);
  bool LoadBankImage(const uint8_t* bytes, size_t size);
  bool RestoreFactoryBank(bool poly800);
  bool LoadProgramFile(const std::string& path, bool skipSound, bool skipSequence);
  bool LoadProgramBytes(const uint8_t* bytes, size_t size, bool skipSound, bool skipSequence);
  bool SaveProgramFile(const std::string& path);
  bool RunToolCommand(int32_t command, const void* data) override;

  // Program commands (programs/ProgramCommands.cpp). The copy keeps the program's state
  // and its name at the time of copying; pastes from an empty copy do nothing.
  void CopyProgram();
  bool HasCopiedProgram() const { return copiedState_.Size() > 0; }
  bool PasteProgram(bool skipSequence);
  bool PasteSequence();
  // Every parameter to its default, no chord, no sequence, named after the slot.
  void InitProgram();
  // A command of the main menu by its number (editor/MainMenu.h), with its questions and
  // messages in the editor's dialogs; nothing without an editor.
  void RunMenuCommand(int command);
  // Where "Check Online for Update" asks.
  void SetUpdateServer(const UpdateServer& server) { updateServer_ = server; }

  // Hardware SysEx dumps. The loaders check the whole file before anything changes and
  // give the reason of a refusal in `error`.
  bool LoadSysExBank(const std::string& path, bool& isPoly800II, std::string& error);
  bool LoadSysExSequence(const std::string& path, std::string& error);
  bool SaveSysEx(const std::string& path, int model);
  // Cassette tape recordings (WAV), read with the process's tape settings, which are
  // written to the configuration after a successful load. A bank load replaces all 64
  // programs, a sequence load the current program's sequence; a refusal changes nothing
  // and gives its reason in `error`.
  bool LoadTapeBank(const std::string& path, bool& isPoly800II, std::string& error);
  // The same with the given settings, leaving the configuration as it is.
  bool LoadTapeBank(const std::string& path, const TapeReadSettings& settings, bool& isPoly800II,
                    std::string& error);
  bool LoadTapeSequence(const std::string& path, std::string& error);
  // Writes the 64 programs and the current sequence as a tape recording.
  bool SaveTape(const std::string& path, HardwareLayout layout, const WavFormat& format);
  // A tape command of the command-line programs (host/ToolCommands.h).
  bool RunTapeToolCommand(int32_t command, const ToolCommands::TapeRequest& request);
  // Replaces the hardware's parameters of all 64 programs by the image's, under one
  // hold of the lock; the rest of each program, and its name, stay. With `fresh` (a tape
  // load) each program starts from the defaults, without chord notes or sequence, and is
  // named as a new slot is.
  void ApplyHardwarePrograms(const HardwareDataImage& image, bool fresh = false);
  // The image's sequence becomes the current program's.
  void ApplyHardwareSequence(const HardwareDataImage& image);
  // The 64 programs (the live one stored first) and the current program's sequence.
  HardwareDataImage BankAsHardwareImage(HardwareLayout layout);
  // Live dumps: one arriving from the host is taken on the audio thread and applied on
  // the next idle call; a queued one leaves at the start of the next block.
  void HandleSysEx(const SysExMessage& message) override;
  void IdleTick() override;
  bool QueueSysExBank(int model);

  // Declares the 80 parameters.
  void DefineParameters();
  // 64 voices with "Voices" at "64"; else 4 in double DCO mode and 8 in single.
  void SetVoiceCount();
  double PitchIndexForKey(int key) const override;

  // Sample-accurate note events (the block renderer dispatches them).
  void NoteOn(int key, int velocity);
  void NoteOff(int key);
  void SustainPedal(bool down);

  int PlayableVoices() const { return voiceCount_; }
  // Renders every voice one sample at a time, as plainly as possible: slow, kept to check
  // the fast path against.
  void SetOneVoiceAtATime(bool on) { oneVoiceAtATime_ = on; }
  const Voice& GetVoice(int index) const { return voices_[static_cast<size_t>(index)]; }
  const ModelRecord& LegacyModel() const { return legacyModel_; }
  const ModelRecord& CurrentModel() const { return currentModel_; }
  const ModelRecord& ActiveModel() const { return legacy_ ? legacyModel_ : currentModel_; }
  double LastSampleRate() const { return lastSampleRate_; }
  const PerformanceValues& Performance() const { return performance_; }
  const GlobalFilterPath& FilterPath() const { return globalPath_; }
  const ModulationGenerator& Mg() const { return mg_; }
  const OutputStage& Output() const { return output_; }
  bool SustainPedalDown() const { return sustainPedal_; }
  int ControlCounter() const { return controlCounter_; }
  const ChordNotes& Chord() const { return chordNotes_; }
  void SetChord(const ChordNotes& notes) { chordNotes_ = notes; }
  const Sequence& GetSequence() const { return sequencer_.Steps(); }
  // A new sequence for the live program; a recording in progress ends first.
  void SetSequence(Sequence sequence);

  // A front-panel button: the sequencer's, the chord memory's, the key-mode buttons and
  // the programmer's keypad.
  void PanelCommand(int code) override;
  // The sequencer's record switch.
  void SetRecordEnabled(bool on) override;
  // Starts playback from the first step, or stops it; every voice is released.
  void SequencerRun(bool on);
  // The keys of the gated voices become the chord memory.
  void CaptureChord();
  const Sequencer& GetSequencer() const { return sequencer_; }
  int CurrentKeyMode() const { return keyMode_; }
  void SequencerNote(const MidiMessage& message, bool toEngine, bool toHost) override;

  // The front panel (the editor's controls ask these).
  PanelDisplayState DisplayState() override;
  void SelectParameter(int index) override;
  bool StartWouldEraseSequence() override;
  bool RecordArmed() override;
  InfoLineState InfoLine() override;
  std::string TuningDescription() override;
  bool UsesBreathController() override;
  void FlipBreathController() override;
  bool ShowsAllParameters() override;
  void ArmMidiLearn(bool on, bool forget) override;
  bool MidiLearnArmed() override;
  std::string CurrentProgramName() override;
  void RenameCurrentProgram(const std::string& name) override;
  void OpenMainMenu(IGraphics& graphics, int x, int y) override;
  bool LoadTape(int mode, const std::string& path, bool& isPoly800II, std::string& error) override;
  std::string DocumentsFolder() override;
  void SetDocumentsFolder(const std::string& folder) override;
  const PanelControls& Panel() const { return panel_; }
  void RedrawPanelDisplays();

 private:
  // Parameter reactions at the plug-in level.
  void ApplyParameter(int index, double plain, double n);
  void ApplyGodMode(bool on);
  void ApplyLegacyMode(bool on);
  void ApplyChorusModel();

  // Banks.
  bool LoadFactoryBank(const char* name, const char* type);
  bool LoadBankChunk(const uint8_t* bytes, size_t size);
  bool LoadParameterBank(const BankFiles::Bank& bank);
  BankFiles::Identity FileIdentity() const;
  void ProgramsReplaced();

  // Hardware dumps.
  StateRecord StoredProgram(int slot);
  StateRecord DefaultProgram();
  void ApplyReceivedSysEx();
  void SendQueuedSysEx();

  // Notes and voices.
  void AssignVoice(int key, int velocity);
  int ChooseVoice(int key) const;
  void QueueMessage(MidiMessage message);
  void ReleaseForChord();

  // The programmer's keypad.
  struct Programmer {
    bool parameterMode = false;  // PROG/PARA
    bool bankHold = false;
    bool digitPending = false;
    int firstDigit = 1;  // pending, or held by BANK HOLD
    int selected = 5;
    double reference = 0.0;  // the selected parameter's value when it was selected
  };
  void DigitButton(int digit);
  void BankHoldButton();
  void ProgParaButton();
  void StepSelected(int delta);
  double PlainValue(int index) const;
  bool DoubleDcoShown() const;
  bool ValueHiddenInSingleMode(int index) const;

  // Sequencer.
  void UpdateStepLength();
  void ApplyKeyMode(int mode);
  void StartOrStopPlayback();
  void SetKeyModeFromPanel(int mode);
  void StartRecording();
  void EndRecording();
  void SwitchRecordingOff();
  void RecordNextStep();
  void RecordTieOrRest();
  void ResetSequencer();
  // Start of a block: the host sync, and where the block's first tick lies.
  void BeginSequencerBlock(int frames);
  void SyncToHost(int covered);
  // At each control tick, for the `samples` up to the next.
  void AdvanceSequencerClock(int samples);
  // Note routing: true when the sequencer takes the note instead of the engine.
  bool SequencerTakesNote(const MidiMessage& note);

  // Block rendering.
  void BeginBlock();
  void EndBlock();
  void ControlTick();
  void UpdateVoices(double pitchOffset, double vcfModulation);
  void ProcessMidiQueue();
  void ApplyController(const MidiMessage& message);
  void Modulate(double& pitchOffset, double& vcfModulation);
  void ModulateLegacy(double& pitchOffset, double& vcfModulation);
  void RenderChunk(double* left, double* right, int frames);
  int RunLength(int start, int frames) const;
  bool SumVoices(double* sums, int frames);
  bool SumVoicesOneByOne(double& sum);
  void MarkActive(int index);
  void DispatchNoteEvents(int sample);

  ModelRecord legacyModel_;
  ModelRecord currentModel_;
  MidiQueue noteEvents_;
  // Rate-dependent tables of this object, so instances at other rates never share them.
  IncrementTable increments_;
  CutoffTable cutoffs_;
  FootageMixes footageMixes_;
  NoiseGenerator noise_;
  std::array<Voice, kVoiceCount> voices_;
  // Indices of the sounding voices in ascending order: found at each tick, where voices
  // fall silent, and added to as voices start.
  std::array<int, kVoiceCount> activeVoices_{};
  int activeCount_ = 0;
  // Voice sums of a run of samples without note events.
  static constexpr int kMaxRun = 64;
  std::array<double, kMaxRun> runSums_{};
  bool oneVoiceAtATime_ = false;
  PerformanceValues performance_;
  GlobalFilterPath globalPath_;
  ModulationGenerator mg_;
  OutputStage output_;
  ChordNotes chordNotes_;
  Sequencer sequencer_{*this};
  int sequencerTickOffset_ = 0;  // block offset of the tick being advanced
  int sequencerOffsetBase_ = 0;  // added to the sequencer's offsets for the host
  int sequencerLastFrame_ = 0;   // the block's last sample, the latest a host event may lie
  Programmer programmer_;
  PanelControls panel_;
  UpdateServer updateServer_;
  ChunkBuffer copiedState_;
  std::string copiedName_;
  SysExReceiver sysExIn_;
  std::vector<uint8_t> sysExOut_;
  bool sysExOutQueued_ = false;

  // Derived parameter values.
  double tuneOffset_ = 0.0;   // pitch-index units
  double bendRange_ = 256.0;  // pitch-index units
  double wheelToPitch_ = 0.0;
  double wheelToCutoff_ = 0.0;
  double sequencerSpeed_ = 120.0;
  int sequencerSpeedStep_ = 0;
  bool sequencerHostClock_ = false;
  bool sequencerPlayOnNote_ = false;
  bool sequencerTranspose_ = false;
  bool legacy_ = true;
  bool godMode_ = false;
  bool doubleDco_ = false;
  bool sixtyFourVoices_ = false;

  int voiceCount_ = 8;
  int stampCounter_ = 0;
  bool sustainPedal_ = false;
  int keyMode_ = kPoly;
  bool constructing_ = true;
  double lastSampleRate_ = -1.0;
};
