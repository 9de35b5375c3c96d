# The Debian package (cpack -G DEB, or ./dev package), made from the install
# rules above. Its library dependencies come from dpkg-shlibdeps; what the
# program loads at run time without linking it is listed by hand.
set(CPACK_PACKAGE_NAME ${QUIZ_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR "Orvik Tests")
set(CPACK_PACKAGE_CONTACT "Orvik Tests <quiz@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "practice examination on LAN switching")
set(CPACK_PACKAGE_DESCRIPTION [=[
A practice examination for students preparing a networking certification
exam on LAN switching: Ethernet switching, VLANs and trunking, spanning
tree, link aggregation, inter-VLAN routing, access security and more.
.
The student picks one of four quizzes of 51 questions from a built-in bank
of 204 original questions and answers one question at a time, each marked
at once with a running score and an explanation; or takes it as a timed
exam, marked at the end, with flags and going back. Afterwards every answer
can be reviewed, with the score by topic, and the missed questions retried;
on request, results are kept with a review schedule for missed questions.
A scenario bank asks questions built on exhibits and topology diagrams.
Question banks in GIFT, Moodle XML, Aiken or JSON can be opened, checked
and converted.]=])
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program's font (Liberation Sans, the metrics its windows are laid out
# for) and the SQLite driver Qt Sql loads as a plugin for the results file.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
