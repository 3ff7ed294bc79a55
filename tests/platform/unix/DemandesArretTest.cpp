// Requests to end from the system and the desktop, turned into a signal on the event loop.
#include "platform/DemandesArret.h"

#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

volatile std::sig_atomic_t g_recu = 0;
extern "C" void noter(int numero) {
    g_recu = numero;
}

TEST(DemandesArret, EachStopSignal_isReportedOnTheEventLoop_andTheProcessLivesOn) {
    DemandesArret demandes;
    QSignalSpy arrets(&demandes, &DemandesArret::arretDemande);

    for (const int numero : {SIGTERM, SIGINT, SIGHUP}) {
        arrets.clear();
        ASSERT_EQ(std::raise(numero), 0);
        EXPECT_EQ(arrets.count(), 0) << "reported from the event loop, not the handler";
        ASSERT_TRUE(QTest::qWaitFor([&] { return arrets.count() == 1; })) << numero;
        EXPECT_EQ(arrets.at(0).at(0).toInt(), numero);
    }
}

TEST(DemandesArret, ApplicationQuit_isReported_andHeldBackForTheProgramsOwnShutdown) {
    DemandesArret demandes;
    QSignalSpy arrets(&demandes, &DemandesArret::arretDemande);

    QTimer::singleShot(0, [] { QCoreApplication::quit(); });   // as the session's end does
    QTimer::singleShot(50, [] { QCoreApplication::exit(7); }); // only if the quit went through
    const int code = QCoreApplication::exec();

    ASSERT_EQ(arrets.count(), 1);
    EXPECT_EQ(arrets.at(0).at(0).toInt(), DemandesArret::FinApplication);
    EXPECT_EQ(code, 7) << "the quit itself ended the event loop";
}

TEST(DemandesArret, Destruction_givesTheSignalsBackTheirPreviousHandling) {
    struct sigaction precedente = {};
    struct sigaction propre = {};
    propre.sa_handler = noter;
    sigemptyset(&propre.sa_mask);
    ASSERT_EQ(sigaction(SIGHUP, &propre, &precedente), 0);

    auto demandes = std::make_unique<DemandesArret>();
    demandes.reset();
    g_recu = 0;
    ASSERT_EQ(std::raise(SIGHUP), 0);
    EXPECT_EQ(g_recu, SIGHUP);

    sigaction(SIGHUP, &precedente, nullptr);
}

} // namespace
