// The SMTP test server helpers of the platform tests, built into this
// program too: the sender and the mail commands are tested against it.
#include "platform/smtp/ServidorPrueba.cpp"
