#pragma once

#include "platform/unix/ProtocoleSni.h"

#include <gtest/gtest.h>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QIcon>
#include <QPixmap>
#include <QProcess>
#include <QTemporaryDir>

// A session bus of the test's own, and connections to it named for who holds them: the program,
// the panel, a host.
class BusSessionPrive : public ::testing::Test {
protected:
    // The bus's configuration: the usual session bus's.
    virtual QString configuration() { return QStringLiteral("--session"); }

    // The usual session bus's, with no message over OCTETS.
    static QString configurationBornee(const QTemporaryDir& dossier, int octets) {
        QFile fichier(dossier.filePath(QStringLiteral("bus.conf")));
        EXPECT_TRUE(fichier.open(QIODevice::WriteOnly));
        fichier.write(QStringLiteral("<busconfig><include>/usr/share/dbus-1/session.conf</include>"
                                     "<limit name=\"max_message_size\">%1</limit></busconfig>")
                          .arg(octets)
                          .toUtf8());
        return QStringLiteral("--config-file=") + fichier.fileName();
    }

    void SetUp() override {
        m_demon.start(QStringLiteral("dbus-daemon"),
                      {configuration(), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                       QStringLiteral("--print-address=1")});
        ASSERT_TRUE(m_demon.waitForReadyRead(10000)) << "dbus-daemon did not start";
        m_adresse = QString::fromUtf8(m_demon.readLine()).trimmed();
        QPixmap image(16, 16);
        image.fill(Qt::darkBlue); // sent over the bus: every byte set
        m_icone.addPixmap(image);
    }

    void TearDown() override {
        for (const char* nom : {"panneau", "programme", "hote"}) {
            QDBusConnection::disconnectFromBus(QString::fromLatin1(nom));
        }
        m_demon.kill();
        m_demon.waitForFinished();
    }

    QDBusConnection connexion(const QString& nom) const {
        return QDBusConnection::connectToBus(m_adresse, nom);
    }

    // What a host does first with a new item: read all its properties.
    static QDBusMessage lire(QDBusConnection& hote, const QString& service) {
        QDBusMessage question = QDBusMessage::createMethodCall(
            service, sni::CheminElement, sni::InterfaceProprietes, QStringLiteral("GetAll"));
        question << QString(sni::InterfaceElement);
        return hote.call(question, QDBus::BlockWithGui, 5000); // the item answers from this thread
    }

    QProcess m_demon;
    QString m_adresse;
    QIcon m_icone;
};
