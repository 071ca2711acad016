#include "GuiSupport.h"

#include <QApplication>
#include <QTimer>

void AnswerModal(const std::function<void(QWidget*)>& answer, int attempts) {
    QTimer::singleShot(attempts == 200 ? 0 : 10, qApp, [answer, attempts] {
        if (QWidget* modal = QApplication::activeModalWidget())
            answer(modal);
        else if (attempts > 0)
            AnswerModal(answer, attempts - 1);
    });
}
