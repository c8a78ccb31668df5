#pragma once

#include <QProxyStyle>

// The password box shows every typed character as "#", at once.
class PasswordMaskStyle : public QProxyStyle
{
    Q_OBJECT
public:
    PasswordMaskStyle();
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
};
