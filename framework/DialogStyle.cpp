#include "framework/DialogStyle.h"

#include <QStyleOption>

int DialogStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                             const QWidget* widget) const {
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
        return 13;
    case PM_CheckBoxLabelSpacing:
    case PM_RadioButtonLabelSpacing:
        return 4;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

QRect DialogStyle::subElementRect(SubElement element, const QStyleOption* option,
                                  const QWidget* widget) const {
    // A push button's text may use its whole face, as on the dialogs'
    // original platform, where a caption runs up to the frame.
    if (element == SE_PushButtonContents && option)
        return option->rect;
    return QProxyStyle::subElementRect(element, option, widget);
}
