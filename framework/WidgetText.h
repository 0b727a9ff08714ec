// Text between the program's byte strings and the widgets: UTF-8 both ways,
// and bytes that are not UTF-8 (files written elsewhere often hold Latin-1)
// shown as Latin-1.
#pragma once

#include <QString>
#include <string>

#include "framework/Text.h"

inline QString ToWidgetText(const std::string& bytes) {
    return QString::fromStdString(Utf8FromBytes(bytes));
}

inline QString ToWidgetText(const char* bytes) {
    return ToWidgetText(std::string(bytes ? bytes : ""));
}

inline std::string FromWidgetText(const QString& text) {
    return text.toStdString();
}
