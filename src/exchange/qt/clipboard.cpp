// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/qt/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

#include "exchange/records.h"
#include "support/macroman.h"
#include "support/qt/qt_text.h"

namespace ks {

void TextToClipBoard(Kestrova& k, const PStr* block)
{
    const PStr text = block ? *block : MakeClipText(k);
    QClipboard* cb = QGuiApplication::clipboard();
    if (!cb) return;  // no clipboard service: silently nothing
    cb->clear();
    cb->setText(FromMacRoman(text.view()));
}

}  // namespace ks
