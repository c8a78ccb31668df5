#pragma once

#include "MessageBoxes.h"

// The real message boxes: QMessageBox with Chinese button captions
// ("是", "否", "确定", "取消"), or the scripted answer of
// TESSIVANE_AUTO_ANSWER (see MessageBoxes.h).
class QtMessageBoxes : public MessageBoxImpl
{
public:
    MsgAnswer ask(const MsgBoxRequest &request, QWidget *parent) override;

private:
    int m_autoIndex = 0;
};
