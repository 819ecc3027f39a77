#pragma once

#include <QWidget>

// The page of one method: moves values between its widgets and its core MethodPage object,
// nothing else.
class MethodPageWidget : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;
    virtual void showSettings() = 0;  // core page object -> widgets
    virtual void takeSettings() = 0;  // widgets -> core page object (before every command)
};
