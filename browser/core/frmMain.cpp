#include "frmMain.h"

frmMain::frmMain(QWidget *parent)
    : QWidget(parent)
{
}

frmMain::~frmMain() = default;
