#include "framework/CustomCtrl.h"

QWidget* CCustomCtrl::CreateControlWidget(const TemplateItem& item, QWidget* parent) {
    (void)item;
    return CreateCustomWidget(parent);
}
