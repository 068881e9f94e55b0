# Sourced by setup.sh: a private CUPS scheduler with a PDF printer for the printing tests.
# Where it cannot start, the printing tests report themselves skipped.
start_test_printer() { :; }
stop_test_printer() { :; }
