#pragma once

#include "platform/Outcome.h"
#include "service/ServiceRequest.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

// "Aggiungi giornale": the service's mastheads; Enter on one asks for its newest issue's provincial editions, and
// where there are any the list of editions takes the masthead list's place, Enter on one subscribes to it. An
// issue without editions subscribes to the masthead at once. Entries are kept exactly as the service lists them.
// Esc goes back a step, or closes.
class FrmNuovoAbbonamento : public QWidget {
    Q_OBJECT

public:
    FrmNuovoAbbonamento();
    void Form_Load();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ask(const QUrl& address, ServiceRequest::Expect expect,
             std::function<void(const Outcome<ServiceRequest::Answer>&, bool archive)> then);
    void chooseMasthead();
    void datesArrived(const QString& masthead, const QStringList& dates);
    void editionsArrived(const QString& masthead, const QStringList& editions);
    void subscribe(const QString& masthead, const QString& edition);
    void showList(QComboBox* list);
    void fail(const QString& what, const QString& reason);
    void enter();
    void back();

    QComboBox* m_mastheads;
    QComboBox* m_editions;
    QPushButton* m_avanti;
    QPushButton* m_annulla;
    QPointer<ServiceRequest> m_request;
};
