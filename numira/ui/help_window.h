// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTextBrowser>

namespace numira {

// The help viewer: shows the help document (HTML) in a window of its own.
class HelpWindow : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Loads the document from a file; false when it cannot be read.
    bool showFile(const QString& path);
};

} // namespace numira
