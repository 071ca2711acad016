#include "Hledani.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Prompter.h"
#include "Workspace.h"
#include "tools/Search.h"

Hledani::Hledani(Workspace& ws, QWidget* parent) : QWidget(parent, Qt::Tool), ws_(ws) {
    setObjectName(QStringLiteral("Hledani"));
    setWindowTitle(QStringLiteral("Vyhledat"));

    auto* caption = new QLabel(QStringLiteral("Zadání hledaného řetězce"));
    caption->setObjectName(QStringLiteral("Label1"));
    result_ = new QLabel;
    result_->setObjectName(QStringLiteral("Label2"));
    result_->setAlignment(Qt::AlignCenter);
    result_->setStyleSheet(QStringLiteral("QLabel { color: red; }"));
    list_ = new QComboBox;
    list_->setObjectName(QStringLiteral("ComboBox1"));
    list_->setEditable(true);
    list_->setInsertPolicy(QComboBox::NoInsert);
    list_->setMinimumWidth(280);
    ok_ = new QPushButton(QStringLiteral("OK"));
    ok_->setObjectName(QStringLiteral("BitBtn1"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Storno"));
    cancel_->setObjectName(QStringLiteral("BitBtn2"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(result_);
    layout->addWidget(list_);
    layout->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, this, &Hledani::OkCommand);
    connect(cancel_, &QPushButton::clicked, this, &Hledani::CancelCommand);
    connect(list_, &QComboBox::activated, this, &Hledani::EntryChosen);
    connect(list_->lineEdit(), &QLineEdit::returnPressed, this, &Hledani::OkCommand);
}

QString Hledani::SearchText() const {
    return list_->currentText();
}

void Hledani::SetSearchText(const QString& text) {
    list_->setEditText(text);
}

QStringList Hledani::Entries() const {
    QStringList entries;
    for (int i = 0; i < list_->count(); ++i) entries << list_->itemText(i);
    return entries;
}

QString Hledani::ResultText() const {
    return result_->text();
}

bool Hledani::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) Activated();
    return QWidget::event(event);
}

void Hledani::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Activated();
}

void Hledani::ShowCurrentItem() {
    const CurrentItem& c = ws_.Current();
    result_->setText(QString::number(c.Kind()) + u'/' + QString::number(c.Column()) + u'/' +
                     QString::number(c.Row()));
}

void Hledani::Activated() {
    ShowCurrentItem();
    const CurrentItem& c = ws_.Current();
    if (IsSearchable(c.Kind())) SetSearchText(ws_.TableOf(c.Kind())->Cell(c.Column(), c.Row()));
}

void Hledani::OkCommand() {
    ws_.ResetInactivity();
    ShowCurrentItem();
    const QString text = SearchText();
    if (text.isEmpty()) {
        ws_.Ask().Beep();
        return;
    }
    const SearchResult found = Search(ws_, text);
    searchedKind_ = ws_.Current().Kind();
    list_->clear();
    list_->addItems(found.entries);
    result_->setText(found.label);
    list_->setCurrentIndex(found.entries.isEmpty() ? -1 : 0);
    SetSearchText(found.entries.value(0));
}

void Hledani::CancelCommand() {
    SetSearchText(QString());
    close();
}

void Hledani::EntryChosen(int index) {
    ws_.ResetInactivity();
    const int row = HitRow(list_->itemText(index));
    if (row > 0 && searchedKind_ != 0) emit hitChosen(searchedKind_, row);
}
