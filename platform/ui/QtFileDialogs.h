#pragma once

#include "FileDialogs.h"

// The real dialogs (QFileDialog).
class QtFileDialogs : public FileDialogImpl
{
public:
    QString choose(const FileDialogRequest &request, QWidget *parent) override;
};
