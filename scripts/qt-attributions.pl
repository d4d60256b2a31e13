#!/usr/bin/perl
# SPDX-License-Identifier: GPL-3.0-or-later
# Names the code from elsewhere that a program statically linked with our Qt
# build carries: every attribution in Qt's source (qt_attribution.json) whose
# files went into an object the linker took. Copies each one's licence texts
# and copyright into LICENSES/Qt-ID/ and prints one line per attribution,
# tab-separated: NAME, VERSION, LICENCE, FOLDER, SOURCE.
#
#   qt-attributions.pl QT-PREFIX LINK-MAP LICENSES
#
# The Qt build keeps, in QT-PREFIX/licenses, the attributions with their
# licence texts and a record of the source files each object is made of
# (qtbase.objects.tsv.gz). Fails where the program links an object of Qt's
# that the record lacks, or one made of third-party code that no attribution
# covers, or where an attribution names a licence text that is not there.
use strict;
use warnings;
use File::Basename qw(basename dirname);
use File::Copy qw(copy);
use File::Find qw(find);
use File::Path qw(make_path);
use JSON::PP;

my ($prefix, $map, $out) = @ARGV;
die "usage: qt-attributions.pl QT-PREFIX LINK-MAP LICENSES\n" unless defined $out;
my $licenses = "$prefix/licenses";
sub fail { print STDERR "qt-attributions: @_\n"; exit 1 }

# The objects the linker took from Qt's libraries and plugins, by library
# and object name. A library is named as qmake's TARGET names it: Qt5Core
# for libQt5Core.a.
sub library { basename($_[0]) =~ s/^lib(.*)\.a$/$1/r }
my %linked;
open my $mapfile, '<', $map or fail "cannot read the link map $map: $!";
while (<$mapfile>) {
    last if /^(Discarded input sections|Memory Configuration)/;
    $linked{ library($1) . "\t" . $2 } = 0 if /^(\Q$prefix\E\/\S+\.a)\(([^)]+)\)/;
}
close $mapfile;
fail "the link map $map names no object of Qt's" unless %linked;

# The files of Qt's source those objects are made of.
my %used;
open my $record, '-|', 'gzip', '-dc', "$licenses/qtbase.objects.tsv.gz" or fail "no build record: $!";
while (<$record>) {
    chomp;
    my ($makefile, $target, $destdir_target, $object, $file) = split /\t/;
    my $key = library($destdir_target || $target) . "\t" . basename($object);
    next unless exists $linked{$key};
    $linked{$key} = 1;
    1 while $file =~ s{(?!\.\./)[^/]+/\.\./}{};
    $used{$file} = 1;
}
close $record or fail "the build record qtbase.objects.tsv.gz cannot be read";
for (sort keys %linked) {
    fail "the program links " . s/\t/(/r . "), which Qt's build record does not hold" unless $linked{$_};
}

# Every attribution; Qt's files repeat keys (the last counts) and break
# strings over lines, which the loose parser takes.
my (@attributions, @files);
find(sub { push @files, $File::Find::name if $_ eq 'qt_attribution.json' }, "$licenses/src");
for my $file (sort @files) {
    open my $json, '<', $file or fail "cannot read $file: $!";
    my $entries = JSON::PP->new->loose->relaxed->decode(do { local $/; <$json> });
    my $folder = dirname($file) =~ s{^\Q$licenses\E/}{}r;
    my @entries = ref $entries eq 'ARRAY' ? @$entries : ($entries);
    for my $entry (@entries) {
        # What it covers: its files, its path, or else its whole folder.
        my @scope = $entry->{Files} ? split(' ', $entry->{Files}) : ($entry->{Path} // '.');
        $entry->{scope} = [ map { "$folder/$_" =~ s{/\.$}{}r } @scope ];
        $entry->{folder} = $folder;
        $entry->{texts} = [ $entry->{LicenseFiles} ? @{ $entry->{LicenseFiles} } : ($entry->{LicenseFile} // ()) ];
        push @attributions, $entry;
    }
    # The folder's other licence texts (FreeType's docs/FTL.TXT, for one)
    # go with its first attribution where that covers the whole folder.
    my %named = map { ("$folder/$_" => 1) } map { @{ $_->{texts} } } @entries;
    if ($entries[0]{scope}[0] eq $folder) {
        find({ no_chdir => 1, wanted => sub {
            my $text = s{^\Q$licenses\E/}{}r;
            push @{ $entries[0]{others} }, substr($text, length($folder) + 1)
                if -f && basename($text) ne 'qt_attribution.json' && !$named{$text};
        } }, "$licenses/$folder");
    }
}

# An attribution covers the files and folders it lists, and what the build
# made from a file it lists, which keeps that file's name (webgradients.css
# goes into the program as webgradients.binaryjson).
sub stem { $_[0] =~ s{\.[^./]+$}{}r }
sub covers {
    my ($entry, $file) = @_;
    grep { $file eq $_ || index($file, "$_/") == 0 || ($_ ne stem($_) && stem($file) eq stem($_)) } @{ $entry->{scope} };
}

my @carried = grep { my $entry = $_; grep { covers($entry, $_) } keys %used } @attributions;
# Qt's lists of files are not always complete (a header left out), so a
# third-party file counts as covered by any attribution carried from its
# component's folder.
for my $file (sort grep { m{^src/3rdparty/} } keys %used) {
    my ($component) = $file =~ m{^(src/3rdparty/[^/]+)/};
    fail "the program carries $file, which no attribution in Qt's source covers"
        unless grep { $_->{folder} eq $component || index($_->{folder}, "$component/") == 0 } @carried;
}

my %ids;
for my $entry (sort { $a->{Id} cmp $b->{Id} } @carried) {
    fail "two attributions carried are both $entry->{Id}" if $ids{ $entry->{Id} }++;
    my $folder = "Qt-$entry->{Id}";
    make_path("$out/$folder");
    for my $text (@{ $entry->{texts} }) {
        my $path = "$licenses/$entry->{folder}/$text";
        copy($path, "$out/$folder/" . basename($text)) or fail "$entry->{Id} names the licence text $text, which is not there";
    }
    for my $text (@{ $entry->{others} // [] }) {
        make_path(dirname("$out/$folder/$text"));
        copy("$licenses/$entry->{folder}/$text", "$out/$folder/$text") or fail "cannot copy $text: $!";
    }
    # Its copyright lines, which the permissive licences ask to keep with
    # the program, and its licence where no text of it comes with Qt.
    open my $notice, '>', "$out/$folder/COPYRIGHT.txt" or fail "cannot write in $out: $!";
    print $notice "$entry->{Name}\n\n", ($entry->{Copyright} // ''), "\n\nLicence: $entry->{License}\n";
    close $notice;
    my $covered = join ' ', map { s{^\Q$entry->{folder}\E/?}{}r || '' } @{ $entry->{scope} };
    print join("\t", map { s/\s+/ /gr } "$entry->{Name}, built into Qt",
        $entry->{Version} // "as in Qt's source", $entry->{LicenseId} // $entry->{License}, "$folder/",
        "Qt's source above, in $entry->{folder}" . ($covered ? " ($covered)" : '')), "\n";
}
