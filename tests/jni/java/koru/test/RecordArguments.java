package koru.test;

// Keeps the arguments main was given, for the test to read back.
public class RecordArguments {
    public static String[] received;

    public static void main(String[] args) {
        received = args;
    }
}
