// SPDX-License-Identifier: GPL-3.0-or-later
// Help tags as tool tips. A control's tool tip is its main text; the tag
// stands on the side the placement code names. The extended content (the
// extended text alone, or main, a line break and the extended text for the
// "+" form) shows instead while Ctrl is held as the tag comes up, as the
// extended tag shows on demand beside the short one.
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <string_view>

#include "app/help_tag_text.h"

class QWidget;

namespace ks {

// Finds the child of `window` named by the id and gives it the parsed tag;
// no such control: nothing. Calling it again replaces the tag.
void ButtonHelpSetText(QWidget* window, int id, std::string_view text);

// The text shown: the main text, or the extended content. Mac Roman in,
// display text out (a carriage return becomes a line break); text Qt would
// take for markup is escaped, so tags always show as plain text.
QString HelpTagDisplayText(const HelpTag& tag, bool extended);

// Top-left corner of a tag of size `tip` beside the control's global
// rectangle on the given side, `gap` pixels away. Default gives bottom
// centred here; the tag itself leaves a Default tag where Qt puts it.
QPoint HelpTagTopLeft(const QRect& control, QSize tip, HelpTag::Side side, int gap = 4);

}  // namespace ks
