#pragma once

#include <QObject>

class QSocketNotifier;

// The requests to end the program that come from outside it, turned into one Qt signal on the
// user-interface thread, so that they all leave through the program's own shutdown:
// - the system's signals SIGTERM, SIGINT and SIGHUP (Unix): the signal handler only writes the
//   signal's number into a pipe, and everything else runs from the event loop, which no call
//   to a peer ever holds up;
// - the application's quit (the desktop session ending, QCoreApplication::quit), reported with the
//   number 0. While the signal is connected the quit itself is held back: it would otherwise send
//   close events that a window putting itself away refuses, and the program would not end.
// One object at a time; its destruction gives the signals back their previous handling.
class DemandesArret : public QObject {
    Q_OBJECT

public:
    explicit DemandesArret(QObject* parent = nullptr);
    ~DemandesArret() override;

    static constexpr int FinApplication = 0;

signals:
    void arretDemande(int numeroSignal);

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void surveillerFinApplication();
    void lire(); // the signals noted since the last call (Unix)

    int m_lecture = -1;
    QSocketNotifier* m_notificateur = nullptr;
};
