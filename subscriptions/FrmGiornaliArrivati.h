#pragma once

#include "Subscription.h"

#include <QWidget>

class QComboBox;

// The issues that arrived by themselves and were not opened yet, newest first; Enter opens one as "Leggi
// giornale" would, Esc returns to the main menu.
class FrmGiornaliArrivati : public QWidget {
    Q_OBJECT

public:
    FrmGiornaliArrivati();
    void Form_Load();

    // "Giornale di oggi": nothing new is said where the user is, one issue opens at once, several are listed.
    static void openNewest();
    // Opens the arrival in the reader and takes it off the unopened ones.
    static void open(const Arrival& arrival);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QComboBox* m_list;
    QList<Arrival> m_arrivals;
};
