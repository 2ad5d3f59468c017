#pragma once

// The editor's images: PNG resources of the plug-in file by id, under the names the
// layout loads them by, with their frame counts (frames stacked top to bottom).
struct EditorImage {
  int id;
  const char* file;
  int frames;
};

inline constexpr EditorImage kEditorImages[] = {
    {101, "resources/img/back.png", 1},          {102, "resources/img/button.png", 2},
    {103, "resources/img/button_blue.png", 2},   {104, "resources/img/button_h_blue.png", 2},
    {105, "resources/img/button_red.png", 2},    {106, "resources/img/button_s.png", 2},
    {107, "resources/img/button_s_blue.png", 2}, {108, "resources/img/digits.png", 15},
    {109, "resources/img/digits_green.png", 15}, {110, "resources/img/dot.png", 2},
    {111, "resources/img/dot_green.png", 2},     {112, "resources/img/handle_h.png", 1},
    {113, "resources/img/handle_lever.png", 1},  {114, "resources/img/handle_v.png", 1},
    {115, "resources/img/learn.png", 2},         {116, "resources/img/lever.png", 1},
    {117, "resources/img/menu.png", 2},          {118, "resources/img/mode.png", 2},
    {119, "resources/img/record.png", 2},        {120, "resources/img/switch.png", 2},
    {121, "resources/img/volume.png", 65},       {122, "resources/img/led.png", 1},
    {123, "resources/img/wheelbreath.png", 2},
};
