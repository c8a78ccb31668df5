#pragma once

#include "FileDialogs.h"

// The real dialogs (QFileDialog), or TESSIVANE_AUTO_FILE's answer.
class QtFileDialogs : public FileDialogImpl
{
public:
    QString choose(const FileDialogRequest &request, QWidget *parent) override;
};
