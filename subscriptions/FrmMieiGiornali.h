#pragma once

#include <QWidget>

class Announcer;
class Deliveries;
class QComboBox;
class QLabel;
class QPushButton;

// "I miei giornali": the subscriptions, each as masthead and edition, with the last check and the last issue
// received below the list and in the entry's description; "Aggiungi" picks a new one from the service's lists,
// "Controlla ora" checks at once, Canc removes the selected one after a question, Esc returns to the main menu.
class FrmMieiGiornali : public QWidget {
    Q_OBJECT

public:
    FrmMieiGiornali();
    void Form_Load();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fill();
    void describeSelected();
    void removeSelected();
    void checkNow();
    void askKeep();

    Deliveries* m_deliveries;
    QComboBox* m_list;
    QLabel* m_state;
    QPushButton* m_aggiungi;
    QPushButton* m_controlla;
    QPushButton* m_tieni;
    Announcer* m_status;
    bool m_checkAsked = false; // its end is said here
};
