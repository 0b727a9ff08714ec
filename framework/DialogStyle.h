// The style of the program's windows: the platform's own look, with the
// check-box and radio-button measures of the dialogs' original platform
// (a 13-pixel box and a narrow gap before the text), so that texts laid out
// in dialog units there fit here too.
#pragma once

#include <QProxyStyle>

class DialogStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QRect subElementRect(SubElement element, const QStyleOption* option,
                         const QWidget* widget) const override;
};
