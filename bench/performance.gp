# Log-log plot of wall-clock time against the number of Cards; reads data
# (from performance-plot.awk) and writes output.
set terminal svg size 900,600 dynamic font "sans,12" background "white"
set output output
set logscale xy
set format x "10^{%T}"
set format y "10^{%T}"
set xlabel "Cards"
set ylabel "seconds (wall clock)"
set key outside right top
set grid
set datafile separator "\t"
set datafile missing "?"
plot data using 1:2 with linespoints title "start-up", \
     data using 1:3 with linespoints title "close", \
     data using 1:4 with linespoints title "header click", \
     data using 1:5 with linespoints title "Add", \
     data using 1:6 with linespoints title "Catalogue", \
     data using 1:7 with linespoints title "List", \
     data using 1:8 with linespoints dashtype 2 title "fread floor", \
     data using 1:9 with linespoints dashtype 2 title "fwrite+fsync floor", \
     data using 1:10 with linespoints dashtype 3 title "plain sort", \
     data using 1:11 with linespoints dashtype 3 title "plain load", \
     data using 1:12 with linespoints dashtype 3 title "plain Catalogue"
