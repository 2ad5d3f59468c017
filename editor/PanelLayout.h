#pragma once

class IGraphics;
class IPlugBase;
class IZKInfoDisplay;
class IZKNumberDisplay;
class IZKSwitchMidiLearn;
class IZKTapeLoadDialog;
class PanelPlug;

// The controls the instrument keeps hold of, to redraw them or show the dialog.
struct PanelControls {
  IZKInfoDisplay* infoDisplay = nullptr;
  IZKNumberDisplay* numberDisplay = nullptr;
  IZKSwitchMidiLearn* midiLearn = nullptr;
  IZKTapeLoadDialog* tapeDialog = nullptr;
};

// The front panel, 1054 x 600: the background and the 89 controls over it, in drawing
// order, each bound to its parameter or role.
PanelControls BuildEditor(IGraphics& graphics, IPlugBase* plug, PanelPlug& panel);

// Where the parameter chart's column for a parameter (5-54) stands; false for others.
bool ChartColumnPosition(int parameter, int& x, int& y);
