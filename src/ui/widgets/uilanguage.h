#pragma once

// Puts the UI language (0 English, 1 Chinese, 2 Japanese) in force for what the text tables do
// not cover: the CJK face Han characters are drawn in, and the texts of Qt's own buttons and
// file dialogs. Any other number changes nothing.
void followUiLanguage(int langid);
