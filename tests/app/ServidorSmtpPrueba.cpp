// The SMTP test server of the platform tests, built into this program too:
// the program's replies are read back from it.
#include "platform/smtp/ServidorPrueba.cpp"
