// The macros face: each macro key of the layout on show labelled with its macro (the name, or
// what a date, time or owner macro sends now), and the record key held down while recording.
#pragma once

class CDC;
class CMyPanel;

// Paints the labels of the panel's LF_MACROS layout onto `dc`, after the keys' own looks.
void PaintMacroLabels(CMyPanel& panel, CDC& dc);
