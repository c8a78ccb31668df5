#pragma once

#include "MessageBoxes.h"

// The real message boxes: QMessageBox with Chinese button captions
// ("是", "否", "确定", "取消").
class QtMessageBoxes : public MessageBoxImpl
{
public:
    MsgAnswer ask(const MsgBoxRequest &request, QWidget *parent) override;
};
